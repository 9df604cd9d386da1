// The receiver's pins per board family, and the compile-time check the
// sketch applies to the table it uses: five different pins, none on the
// family's list of pins that must stay free, and no output on the board's
// own LED. No Arduino headers, so that the host tests check the tables too.
#pragma once

#include <stdint.h>

struct TPines {
    uint8_t Avance;
    uint8_t Retroceso;
    uint8_t Izquierda;
    uint8_t Derecha;
    uint8_t Enlace; // the link LED
};

namespace pines {

// A board without an LED of its own.
constexpr uint8_t SinLed = 0xFF;

// AVR boards (Uno, Nano, Mega, Leonardo, Pro Micro): D2..D5 and the board's
// LED on D13. D0 and D1 are the serial line's (on the Uno also the USB's).
constexpr TPines Avr = {2, 3, 4, 5, 13};
constexpr uint8_t ProhibidosAvr[] = {0, 1};

// ESP32 (the classic chip: DevKit, WROOM and WROVER modules): plain GPIOs.
// The board's LED is a strapping pin on most of them, so the link LED is
// one of its own on GPIO 33.
constexpr TPines Esp32 = {25, 26, 27, 32, 33};
constexpr uint8_t ProhibidosEsp32[] = {
    0,  2,  5,  12, 15, // strapping pins, read at reset
    1,  3, // UART0: the USB serial line
    6,  7,  8,  9,  10, 11, // the flash chip
    16, 17, // PSRAM on WROVER modules
    34, 35, 36, 37, 38, 39, // inputs only
};

constexpr bool EnLista(uint8_t pin, const uint8_t* lista, uint8_t cuantos)
{
    return cuantos != 0 && (lista[0] == pin || EnLista(pin, lista + 1, static_cast<uint8_t>(cuantos - 1)));
}

constexpr bool Distintos(const TPines& p)
{
    return p.Avance != p.Retroceso && p.Avance != p.Izquierda && p.Avance != p.Derecha && p.Avance != p.Enlace
           && p.Retroceso != p.Izquierda && p.Retroceso != p.Derecha && p.Retroceso != p.Enlace
           && p.Izquierda != p.Derecha && p.Izquierda != p.Enlace && p.Derecha != p.Enlace;
}

constexpr bool Libres(const TPines& p, const uint8_t* prohibidos, uint8_t cuantos)
{
    return !EnLista(p.Avance, prohibidos, cuantos) && !EnLista(p.Retroceso, prohibidos, cuantos)
           && !EnLista(p.Izquierda, prohibidos, cuantos) && !EnLista(p.Derecha, prohibidos, cuantos)
           && !EnLista(p.Enlace, prohibidos, cuantos);
}

// No button on the board's LED, which its boot loader blinks.
constexpr bool FueraDelLed(const TPines& p, uint8_t led)
{
    return led == SinLed || (p.Avance != led && p.Retroceso != led && p.Izquierda != led && p.Derecha != led);
}

} // namespace pines
