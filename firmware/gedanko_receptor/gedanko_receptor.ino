// Gedanko's vehicle receiver for Arduino-compatible boards (Uno, Nano, ...):
// reads frames from the USB serial line and drives four outputs wired
// across the remote control's buttons (docs/receptor.md). The decoding and
// the failsafe live in Receptor.cpp, shared with the host tests.
#include "Receptor.h"

// Wiring: one pin per button of the remote control, and the link LED.
const uint8_t PinAvance = 2;
const uint8_t PinRetroceso = 3;
const uint8_t PinIzquierda = 4;
const uint8_t PinDerecha = 5;
const uint8_t PinEnlace = LED_BUILTIN;
// HIGH when a high pin presses the button (NPN transistor or optocoupler
// driven from the pin); LOW for modules that switch on a low input.
const uint8_t NivelActivo = HIGH;
const uint8_t NivelInactivo = NivelActivo == HIGH ? LOW : HIGH;

const uint8_t Pines[] = {PinAvance, PinRetroceso, PinIzquierda, PinDerecha};
const uint8_t Bits[] = {trama::BitAvance, trama::BitRetroceso, trama::BitIzquierda, trama::BitDerecha};

TReceptor receptor;

void escribirSalidas()
{
    const uint8_t salidas = receptor.Salidas();
    for (uint8_t i = 0; i < 4; ++i) {
        const bool activa = (salidas & Bits[i]) != 0;
        digitalWrite(Pines[i], activa ? NivelActivo : NivelInactivo);
    }
    digitalWrite(PinEnlace, receptor.Enlace() ? HIGH : LOW);
}

void setup()
{
    // Off before the pins become outputs, so no button is pressed at power-up.
    for (uint8_t pin : Pines) {
        digitalWrite(pin, NivelInactivo);
        pinMode(pin, OUTPUT);
    }
    pinMode(PinEnlace, OUTPUT);
    escribirSalidas();
    Serial.begin(trama::BaudiosPorDefecto);
}

void loop()
{
    while (Serial.available() > 0)
        receptor.Recibir(static_cast<uint8_t>(Serial.read()), millis());
    receptor.Vigilar(millis());
    escribirSalidas();
}
