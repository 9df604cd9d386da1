// Gedanko's vehicle receiver for Arduino-compatible boards (Uno, Nano, ...):
// reads frames from the USB serial line, or on an ESP32 from UDP over Wi-Fi,
// and drives four outputs wired across the remote control's buttons
// (docs/receptor.md). The decoding and the failsafe live in Receptor.cpp,
// shared with the host tests.
#include "Receptor.h"

// Link: 0 reads the USB serial line (any board); 1 reads UDP over Wi-Fi
// (ESP32 only). With Wi-Fi the board opens its own access point by default
// (address 192.168.4.1, so Destino=udp:192.168.4.1:4210); with WifiUnirse
// set it joins an existing network instead and prints its address on the
// serial monitor.
#define ENLACE_WIFI 0

#if ENLACE_WIFI
#include <WiFi.h>
#include <WiFiUdp.h>

const char* const WifiNombre = "gedanko-vehiculo";
const char* const WifiClave = "cambie-esta-clave"; // 8 characters at least
const bool WifiUnirse = false;
const uint16_t PuertoUdp = 4210;

WiFiUDP udp;
#endif

// Wiring: one pin per button of the remote control, and the link LED.
#if ENLACE_WIFI
// ESP32: GPIO 16..19 are free on most boards and none is a boot strapping
// pin; GPIO 2 is the LED of most DevKit boards.
const uint8_t PinAvance = 16;
const uint8_t PinRetroceso = 17;
const uint8_t PinIzquierda = 18;
const uint8_t PinDerecha = 19;
const uint8_t PinEnlace = 2;
#else
const uint8_t PinAvance = 2;
const uint8_t PinRetroceso = 3;
const uint8_t PinIzquierda = 4;
const uint8_t PinDerecha = 5;
const uint8_t PinEnlace = LED_BUILTIN;
#endif
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

#if ENLACE_WIFI
void abrirWifi()
{
    if (WifiUnirse) {
        WiFi.mode(WIFI_STA);
        WiFi.begin(WifiNombre, WifiClave);
        // The outputs stay off meanwhile: nothing drives before a frame.
        while (WiFi.status() != WL_CONNECTED)
            delay(100);
        Serial.print("gedanko_receptor: udp:");
        Serial.print(WiFi.localIP());
    } else {
        WiFi.mode(WIFI_AP);
        WiFi.softAP(WifiNombre, WifiClave);
        Serial.print("gedanko_receptor: udp:");
        Serial.print(WiFi.softAPIP());
    }
    Serial.print(':');
    Serial.println(PuertoUdp);
    // Frames come one per datagram; losing the link for longer than the
    // timeout turns the outputs off like a silent serial line.
    WiFi.setSleep(false);
    udp.begin(PuertoUdp);
}

void leerEnlace()
{
    while (udp.parsePacket() > 0) {
        int byte;
        while ((byte = udp.read()) >= 0)
            receptor.Recibir(static_cast<uint8_t>(byte), millis());
    }
}
#else
void leerEnlace()
{
    while (Serial.available() > 0)
        receptor.Recibir(static_cast<uint8_t>(Serial.read()), millis());
}
#endif

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
#if ENLACE_WIFI
    abrirWifi();
#endif
}

void loop()
{
    leerEnlace();
    receptor.Vigilar(millis());
    escribirSalidas();
}
