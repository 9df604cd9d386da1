// The frame that carries the command byte to the vehicle's receiver over a
// serial line or UDP: sync, command, check (docs/trama.md). The program's
// encoder and the receiver's decoder both include this one definition; it
// uses no standard library, since the AVR toolchain has none.
#pragma once

#include <stdint.h>

namespace trama {

// Never a valid command byte (those keep the high nibble clear) and never a
// check byte, so a lost byte cannot make the decoder take one for the other.
constexpr uint8_t Sincronia = 0xA5;
constexpr uint8_t LongitudTrama = 3;

// The command byte's four bits, as on the parallel port's data lines.
constexpr uint8_t BitAvance = 0x01;
constexpr uint8_t BitRetroceso = 0x02;
constexpr uint8_t BitIzquierda = 0x04;
constexpr uint8_t BitDerecha = 0x08;
constexpr uint8_t BitsOrden = BitAvance | BitRetroceso | BitIzquierda | BitDerecha;

// The sender repeats the current command at least this often; the receiver
// turns everything off once no valid frame has come for the timeout.
constexpr uint16_t IntervaloLatidoMs = 50;
constexpr uint16_t CaducidadMs = 300;

// Serial settings the receiver's sketch opens with; the program defaults to
// the same.
constexpr uint32_t BaudiosPorDefecto = 115200;

// A command the vehicle can act on: only the four bits, and never two
// opposite ones together.
inline bool OrdenValida(uint8_t orden)
{
    if ((orden & ~BitsOrden) != 0)
        return false;
    const bool avanceYRetroceso = (orden & BitAvance) && (orden & BitRetroceso);
    const bool izquierdaYDerecha = (orden & BitIzquierda) && (orden & BitDerecha);
    return !avanceYRetroceso && !izquierdaYDerecha;
}

// CRC-8 (polynomial 0x07, start 0xFF) over the sync and the command byte.
// For the 16 possible commands it is always 0x80 or above and never the
// sync, and any single-bit error in the command changes it.
inline uint8_t Comprobacion(uint8_t orden)
{
    const uint8_t bytes[2] = {Sincronia, orden};
    uint8_t crc = 0xFF;
    for (uint8_t byte : bytes) {
        crc ^= byte;
        for (uint8_t bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80) ? static_cast<uint8_t>((crc << 1) ^ 0x07) : static_cast<uint8_t>(crc << 1);
    }
    return crc;
}

// Writes the frame of `orden` into `salida` (LongitudTrama bytes).
inline void Codificar(uint8_t orden, uint8_t* salida)
{
    salida[0] = Sincronia;
    salida[1] = orden;
    salida[2] = Comprobacion(orden);
}

} // namespace trama
