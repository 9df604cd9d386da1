// Gedanko's vehicle receiver for Arduino-compatible boards (Uno, Nano, ...):
// reads frames from the USB serial line, or on an ESP32 from UDP over Wi-Fi,
// and drives four outputs wired across the remote control's buttons
// (docs/receptor.md). The decoding and the failsafe live in Receptor.cpp,
// shared with the host tests; the pins per board are in Pines.h.
#include "Pines.h"
#include "Receptor.h"

// Link: 0 reads the USB serial line (any board); 1 reads UDP over Wi-Fi
// (ESP32 only). With Wi-Fi the board opens its own access point by default
// (address 192.168.4.1, so Destino=udp:192.168.4.1:4210,<CLAVE_ENLACE>);
// with WIFI_UNIRSE set it joins an existing network instead and prints its
// address on the serial monitor.
#ifndef ENLACE_WIFI
#define ENLACE_WIFI 0
#endif

// HIGH when a high pin presses the button (NPN transistor or optocoupler
// driven from the pin); LOW for modules that switch on a low input.
#ifndef NIVEL_ACTIVO
#define NIVEL_ACTIVO HIGH
#endif

#if ENLACE_WIFI
#include <WiFi.h>
#include <WiFiUdp.h>

// Fill both in before flashing; the sketch does not start with them empty.
// WIFI_CLAVE: the access point's password (8 characters at least), or the
// password of the network it joins. CLAVE_ENLACE: 32 hexadecimal digits,
// the same as after the port in Destino (make one with
// `od -An -tx1 -N16 /dev/urandom | tr -d ' \n'`).
#ifndef WIFI_CLAVE
#define WIFI_CLAVE ""
#endif
#ifndef CLAVE_ENLACE
#define CLAVE_ENLACE ""
#endif
// 1 joins the network WIFI_NOMBRE instead of opening an access point.
#ifndef WIFI_UNIRSE
#define WIFI_UNIRSE 0
#endif
#ifndef WIFI_NOMBRE
#define WIFI_NOMBRE "gedanko-vehiculo"
#endif

const char* const WifiNombre = WIFI_NOMBRE;
const char* const WifiClave = WIFI_CLAVE;
const char* const ClaveEnlace = CLAVE_ENLACE;
const bool WifiUnirse = WIFI_UNIRSE;
const uint16_t PuertoUdp = 4210;
// Datagrams read in one pass at most, so that a flood cannot hold up the
// failsafe and the pins.
const uint8_t DatagramasPorPasada = 4;
// How often station mode tries to join again after losing the network.
const uint32_t ReintentoWifiMs = 5000;

WiFiUDP udp;
trama::TClave claveEnlace = {};
#else
// Bytes read in one pass at most: the serial buffer's size.
const uint8_t BytesPorPasada = 64;
#endif

// The pin table of the board family, checked when the sketch compiles.
#if defined(ARDUINO_ARCH_AVR)
constexpr TPines PinesFamilia = pines::Avr;
#define PINES_PROHIBIDOS pines::ProhibidosAvr
#elif defined(ARDUINO_ARCH_ESP32) && defined(CONFIG_IDF_TARGET_ESP32)
constexpr TPines PinesFamilia = pines::Esp32;
#define PINES_PROHIBIDOS pines::ProhibidosEsp32
#else
#error "No hay tabla de pines para esta placa: añada una en Pines.h"
#endif
#ifndef PINES_PLACA
#define PINES_PLACA PinesFamilia
#endif
constexpr TPines Pines = PINES_PLACA;
#ifdef LED_BUILTIN
constexpr uint8_t LedPlaca = LED_BUILTIN;
#else
constexpr uint8_t LedPlaca = pines::SinLed;
#endif
static_assert(pines::Distintos(Pines), "two pins of the table coincide");
static_assert(pines::Libres(Pines, PINES_PROHIBIDOS, sizeof PINES_PROHIBIDOS),
              "a pin of the table must stay free on this board");
static_assert(pines::FueraDelLed(Pines, LedPlaca), "an output is on the board's LED");

const uint8_t NivelActivo = NIVEL_ACTIVO;
const uint8_t NivelInactivo = NivelActivo == HIGH ? LOW : HIGH;
const uint8_t Salidas[] = {Pines.Avance, Pines.Retroceso, Pines.Izquierda, Pines.Derecha};
const uint8_t Bits[] = {trama::BitAvance, trama::BitRetroceso, trama::BitIzquierda, trama::BitDerecha};

// The hardware watchdog: a hung sketch resets the board, which starts with
// everything off.
#if defined(ARDUINO_ARCH_AVR)
#include <avr/wdt.h>

// After a watchdog reset the watchdog stays armed at its shortest period;
// disarm it before the Arduino core starts, as avr-libc advises.
void desarmarVigilanteAlArrancar() __attribute__((naked, used, section(".init3")));
void desarmarVigilanteAlArrancar()
{
    MCUSR = 0;
    wdt_disable();
}

void armarVigilante()
{
    wdt_enable(WDTO_250MS);
}

void alimentarVigilante()
{
    wdt_reset();
}
#else
#include <esp_task_wdt.h>

void armarVigilante()
{
#if ESP_ARDUINO_VERSION_MAJOR >= 3
    esp_task_wdt_config_t configuracion = {};
    configuracion.timeout_ms = 300;
    configuracion.trigger_panic = true;
    if (esp_task_wdt_init(&configuracion) != ESP_OK)
        esp_task_wdt_reconfigure(&configuracion);
#else
    esp_task_wdt_init(1, true); // whole seconds on core 2
#endif
    esp_task_wdt_add(nullptr);
}

void alimentarVigilante()
{
    esp_task_wdt_reset();
}
#endif

TReceptor receptor;
// When the last pass began, and whether what waits on the link is being
// dropped as too old.
uint32_t ultimaPasada = 0;
bool descartando = false;
bool detenido = false;

void escribirSalidas()
{
    const uint8_t salidas = receptor.Salidas();
    for (uint8_t i = 0; i < 4; ++i) {
        const bool activa = (salidas & Bits[i]) != 0;
        digitalWrite(Salidas[i], activa ? NivelActivo : NivelInactivo);
    }
    digitalWrite(Pines.Enlace, receptor.Enlace() ? HIGH : LOW);
}

// The level is set while the pin is still an input: on ESP32 core 3 a
// write before pinMode is ignored, and the pin would become an output at
// LOW, a press for active-low modules. On AVR a HIGH input level is the
// pull-up meanwhile.
void prepararSalida(uint8_t pin, uint8_t nivel)
{
    pinMode(pin, INPUT);
    digitalWrite(pin, nivel);
    pinMode(pin, OUTPUT);
    digitalWrite(pin, nivel);
}

#if ENLACE_WIFI
bool wifiConectado = false;
uint32_t ultimoIntentoWifi = 0;

void mostrarDireccion()
{
    Serial.print("gedanko_receptor: udp:");
    Serial.print(WifiUnirse ? WiFi.localIP() : WiFi.softAPIP());
    Serial.print(':');
    Serial.println(PuertoUdp);
}

bool abrirWifi()
{
    if (!trama::LeerClave(ClaveEnlace, claveEnlace) || (!WifiUnirse && strlen(WifiClave) < 8)) {
        Serial.println("gedanko_receptor: ponga WifiClave y ClaveEnlace en el sketch");
        return false;
    }
    receptor.FijarClave(claveEnlace);
    // Frames come one per datagram; losing the link for longer than the
    // timeout turns the outputs off like a silent serial line.
    if (WifiUnirse) {
        WiFi.mode(WIFI_STA);
        WiFi.begin(WifiNombre, WifiClave);
        ultimoIntentoWifi = millis();
    } else {
        WiFi.mode(WIFI_AP);
        WiFi.softAP(WifiNombre, WifiClave);
        mostrarDireccion();
    }
    WiFi.setSleep(false);
    udp.begin(PuertoUdp);
    return true;
}

// Station mode: false while the network is gone, trying to join it again
// every few seconds; the outputs stay off meanwhile.
bool mantenerWifi()
{
    if (!WifiUnirse)
        return true;
    const bool conectado = WiFi.status() == WL_CONNECTED;
    if (conectado && !wifiConectado)
        mostrarDireccion();
    wifiConectado = conectado;
    if (conectado)
        return true;
    if (static_cast<uint32_t>(millis() - ultimoIntentoWifi) >= ReintentoWifiMs) {
        ultimoIntentoWifi = millis();
        WiFi.disconnect();
        WiFi.begin(WifiNombre, WifiClave);
    }
    return false;
}

// Answers a frame taken, so that the program can tell a receiver that is
// gone from one that hears it.
void acusar()
{
    uint8_t acuse[trama::LongitudTrama];
    trama::CodificarAcuse(receptor.Secuencia(), claveEnlace, acuse);
    udp.beginPacket(udp.remoteIP(), udp.remotePort());
    udp.write(acuse, sizeof acuse);
    udp.endPacket();
}

// True when nothing more waits.
bool leerEnlace()
{
    for (uint8_t i = 0; i < DatagramasPorPasada; ++i) {
        const int largo = udp.parsePacket();
        if (largo <= 0)
            return true;
        uint8_t bytes[trama::LongitudTrama];
        udp.read(bytes, sizeof bytes);
        if (descartando)
            continue;
        const uint32_t tramas = receptor.TramasValidas();
        receptor.RecibirDatagrama(bytes, static_cast<uint16_t>(largo), millis());
        if (receptor.TramasValidas() != tramas)
            acusar();
    }
    return false;
}
#else
bool leerEnlace()
{
    for (uint8_t i = 0; i < BytesPorPasada; ++i) {
        if (Serial.available() <= 0)
            return true;
        const uint8_t byte = static_cast<uint8_t>(Serial.read());
        if (!descartando)
            receptor.Recibir(byte, millis());
    }
    return false;
}
#endif

void setup()
{
    // Off before the pins become outputs, so no button is pressed at power-up.
    for (uint8_t pin : Salidas)
        prepararSalida(pin, NivelInactivo);
    prepararSalida(Pines.Enlace, LOW);
    Serial.begin(trama::BaudiosPorDefecto);
#if ENLACE_WIFI
    detenido = !abrirWifi();
#endif
    // Armed once Wi-Fi is up, whose start may take longer than its period.
    armarVigilante();
    ultimaPasada = millis();
}

#ifdef PRUEBA_CUELGUE
// Test builds only: the sketch hangs for good while this pin is held low,
// to show that the watchdog turns everything off.
const uint8_t PinCuelgue = PRUEBA_CUELGUE;
#endif

void loop()
{
#ifdef PRUEBA_CUELGUE
    pinMode(PinCuelgue, INPUT_PULLUP);
    while (digitalRead(PinCuelgue) == LOW) { }
#endif
    alimentarVigilante();
    if (detenido)
        return;
    const uint32_t ahora = millis();
    // A pass that comes late finds bytes of unknown age waiting: they are
    // dropped until the link has nothing more.
    if (static_cast<uint32_t>(ahora - ultimaPasada) > trama::RetrasoMaximoLecturaMs) {
        descartando = true;
        receptor.Descartar();
    }
    ultimaPasada = ahora;
#if ENLACE_WIFI
    if (!mantenerWifi()) {
        receptor.Cortar();
        escribirSalidas();
        return;
    }
#endif
    if (leerEnlace())
        descartando = false;
    receptor.Vigilar(millis());
    escribirSalidas();
}
