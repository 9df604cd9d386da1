// The command byte the vehicle's remote control takes, one line per bit;
// whatever output carries it to the vehicle sends this same byte.
#pragma once

#include "Tipos.h"
#include "Trama.h"

#include <cstdint>

// The bits are the receiver's (Trama.h), which is the parallel port's layout.
enum TBitOrden : std::uint8_t {
    ordAvance = trama::BitAvance,
    ordRetroceso = trama::BitRetroceso,
    ordIzquierda = trama::BitIzquierda,
    ordDerecha = trama::BitDerecha
};

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
