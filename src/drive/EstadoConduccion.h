// The drive decision of one connection: turns each full headset reading into
// a direction (decided afresh against a threshold) and a turn (latched by one
// head movement, released by the same movement again), and gives what every
// engine event sends to the arrows, the actuator and the chart.
#pragma once

#include "MuestraGrafica.h"
#include "Tipos.h"

#include <cstdint>

// What one engine event produces.
struct TSalidasConduccion {
    // For MostrarFlechas.
    TDireccion Direccion;
    TGiro GiroMostrado;
    bool AvRetActivo;
    bool GiroFijado;
    // For FActuador.Mover.
    TDireccion DireccionEnviada;
    TGiro GiroEnviado;
    // For FGrafica.AnadirMuestra.
    TMuestraGrafica Muestra;
};

class TEstadoConduccion {
public:
    // Full readings after a latch change (or the start) during which the
    // latch cannot change again.
    static constexpr std::uint32_t LecturasBloqueo = 10;
    static constexpr std::uint16_t ValorSinDeteccion = 10;

    TEstadoConduccion() { Iniciar(); }

    void Iniciar();
    // A reading that passed every gate: updates direction, power, turn and latch.
    void LecturaCompleta(const TLectura& lectura, unsigned umbralAvRet, unsigned umbralGiro);
    // A reading that is no longer current (read while the loop catches up
    // after a pause): shown as detected, but the latch and its lock-out do
    // not change, so that an old head movement turns nothing.
    void LecturaAtrasada(const TLectura& lectura, unsigned umbralAvRet);
    // A rejected EmoState drops the direction and keeps everything else.
    void Rechazar();
    // An emergency stop: the direction and the latched turn go; a new turn
    // needs a new head movement after the lock-out.
    void SoltarGiro();
    TSalidasConduccion Salidas() const;
    // The latched turn, which is what the vehicle gets.
    TGiro GiroEnviado() const { return GiroFijado ? DireccionFijada : giroNinguno; }

    TDireccion Direccion;
    std::uint32_t Potencia;
    bool AvRetActivo;
    TGiro Giro;
    std::uint32_t MagnitudGiro;
    bool GiroFijado;
    TGiro DireccionFijada;
    TGiro GiroMostrado;
    bool Liberado;
    std::uint32_t Contador;

private:
    void Leer(const TLectura& lectura, unsigned umbralAvRet);
};
