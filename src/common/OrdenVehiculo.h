// The command byte the vehicle's remote control takes, one line per bit;
// whatever output carries it to the vehicle sends this same byte.
#pragma once

#include "Tipos.h"

#include <cstdint>

enum TBitOrden : std::uint8_t { ordAvance = 0x01, ordRetroceso = 0x02, ordIzquierda = 0x04, ordDerecha = 0x08 };

// All off: the vehicle stops and turns nothing.
constexpr std::uint8_t OrdenParada = 0x00;

// A drive command as its byte: neither forward nor backward for dirNinguna
// and dirNeutral, no turn bit for giroNinguno.
constexpr std::uint8_t OrdenVehiculo(TDireccion direccion, TGiro giro)
{
    std::uint8_t orden = OrdenParada;
    if (direccion == dirAvance)
        orden |= ordAvance;
    else if (direccion == dirRetroceso)
        orden |= ordRetroceso;
    if (giro == giroIzquierda)
        orden |= ordIzquierda;
    else if (giro == giroDerecha)
        orden |= ordDerecha;
    return orden;
}
