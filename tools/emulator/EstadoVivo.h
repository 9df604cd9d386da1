// The live state that the operator of the emulator sets from its console.
// Each value set here overrides the scenario's value in every EmoState sent;
// values never set leave the scenario's own.
#pragma once

#include "Modelo.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace emulador {

// Engine gyro units per degree of horizontal head movement, as the emulator
// makes them from a turn rate: at 32 EmoStates a second, a head turning at
// 40 degrees a second moves 150 units per reading (turn magnitude 5).
constexpr double UnidadesGiroPorGrado = 120;

// The head's horizontal movement as a running sum in degrees, and the band of
// turn rates (degrees a second) taken as noise: rates within it read as a
// still head, and a rate moves by less than it reads as the same rate.
struct TMovimientoCabeza {
    double Grados = 0;
    double Banda = 0;
    bool operator==(const TMovimientoCabeza&) const = default;
};

struct TAccionViva {
    std::uint32_t Accion = ACC_COG_NEUTRAL; // neutral, in either suite
    float Potencia = 0;
    bool operator==(const TAccionViva&) const = default;
};

class TEstadoVivo {
public:
    void FijarExpresiva(std::uint32_t accion, float potencia) { FExpresiva = TAccionViva {accion, potencia}; }
    void FijarCognitiva(std::uint32_t accion, float potencia) { FCognitiva = TAccionViva {accion, potencia}; }
    // A gyro change served as it is, in place of any head movement.
    void FijarGiro(int giroX)
    {
        FGiroX = giroX;
        FMovimiento.reset();
    }
    // Each EmoState then carries the movement since the one before it.
    void FijarMovimiento(double grados, double banda) { FMovimiento = TMovimientoCabeza {grados, banda}; }
    void FijarSenal(int senal) { FSenal = senal; }
    void FijarContacto(std::size_t canal, int calidad)
    {
        if (canal < FContactos.size())
            FContactos[canal] = calidad;
    }
    void FijarContactos(int calidad) { FContactos.fill(calidad); }
    void FijarBateria(int nivel, int maximo);
    void FijarNivelBateria(int nivel) { FBateria = nivel; }
    void FijarBateriaMaxima(int maximo) { FBateriaMax = maximo; }
    void FijarCasco(bool puesto) { FCascoPuesto = puesto; }
    void Restablecer(); // back to the scenario's values; the headset stays as it is

    bool CascoPuesto() const { return FCascoPuesto; }
    const std::optional<TMovimientoCabeza>& Movimiento() const { return FMovimiento; }
    // The same detected actions, signal and headset: nothing that must reach
    // the client before the next steady EmoState has changed.
    bool MismaDeteccion(const TEstadoVivo& otro) const;
    void Aplicar(edk::TEstadoEmo& estado) const;
    std::string Describir() const; // one line per override, Spanish
    bool operator==(const TEstadoVivo&) const = default;

private:
    std::optional<TAccionViva> FExpresiva;
    std::optional<TAccionViva> FCognitiva;
    std::optional<int> FGiroX;
    std::optional<TMovimientoCabeza> FMovimiento;
    std::optional<int> FSenal;
    std::array<std::optional<int>, edk::NumCanales> FContactos {};
    std::optional<int> FBateria;
    std::optional<int> FBateriaMax;
    bool FCascoPuesto = true;
};

} // namespace emulador
