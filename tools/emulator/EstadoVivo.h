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

struct TAccionViva {
    std::uint32_t Accion = ACC_COG_NEUTRAL; // neutral, in either suite
    float Potencia = 0;
    bool operator==(const TAccionViva&) const = default;
};

class TEstadoVivo {
public:
    void FijarExpresiva(std::uint32_t accion, float potencia) { FExpresiva = TAccionViva {accion, potencia}; }
    void FijarCognitiva(std::uint32_t accion, float potencia) { FCognitiva = TAccionViva {accion, potencia}; }
    void FijarGiro(int giroX) { FGiroX = giroX; }
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
    void Aplicar(edk::TEstadoEmo& estado) const;
    std::string Describir() const; // one line per override, Spanish
    bool operator==(const TEstadoVivo&) const = default;

private:
    std::optional<TAccionViva> FExpresiva;
    std::optional<TAccionViva> FCognitiva;
    std::optional<int> FGiroX;
    std::optional<int> FSenal;
    std::array<std::optional<int>, edk::NumCanales> FContactos {};
    std::optional<int> FBateria;
    std::optional<int> FBateriaMax;
    bool FCascoPuesto = true;
};

} // namespace emulador
