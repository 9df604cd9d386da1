// A stand-in for the Arduino API of an ESP32 board on core 3, enough to run
// the receiver's sketch on the host: pins that remember every level they
// drive, a serial line and a UDP socket fed by the test, a millisecond clock
// the test sets, and the task watchdog. As on core 3, a digitalWrite to a
// pin that pinMode has not claimed is ignored, and a pin becomes an output
// at the level last written to it (LOW when none was).
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#define ARDUINO_ARCH_ESP32 1
#define CONFIG_IDF_TARGET_ESP32 1
#define ESP_ARDUINO_VERSION_MAJOR 3
// The DevKit V1 variant's LED.
#define LED_BUILTIN 2

constexpr std::uint8_t LOW = 0;
constexpr std::uint8_t HIGH = 1;
constexpr std::uint8_t INPUT = 0x01;
constexpr std::uint8_t OUTPUT = 0x03;

namespace simulado {

constexpr int NumeroPines = 40;
// A pin's level as the outside sees it: driven low or high, or not driven.
constexpr int Suelto = -1;

struct TCambio {
    std::uint32_t Ms;
    int Nivel;
};

struct TPin {
    bool Reclamado = false;
    bool Salida = false;
    std::uint8_t Registro = LOW;
    std::vector<TCambio> Historia;
    int Nivel() const { return Historia.empty() ? Suelto : Historia.back().Nivel; }
};

struct TPlaca {
    std::uint32_t Ms = 0;
    std::array<TPin, NumeroPines> Pines;
    std::deque<std::uint8_t> Serie;
    std::string SerieEscrita;
    std::deque<std::vector<std::uint8_t>> Datagramas;
    std::vector<std::uint8_t> Leyendo;
    std::vector<std::vector<std::uint8_t>> Respuestas;
    bool WifiConectado = true;
    int WifiIntentos = 0;
    bool PuntoDeAcceso = false;
    bool UdpAbierto = false;
    int Alimentado = 0;
    bool VigilanteArmado = false;
};

// The board; the test resets it before each run of setup().
TPlaca& Placa();
void Reiniciar();

} // namespace simulado

void pinMode(std::uint8_t numero, std::uint8_t modo);
void digitalWrite(std::uint8_t numero, std::uint8_t nivel);
unsigned long millis();
void delay(unsigned long ms);

class TSerieSimulada {
public:
    void begin(unsigned long) { }
    int available() { return static_cast<int>(simulado::Placa().Serie.size()); }
    int read();
    void print(const char* texto) { simulado::Placa().SerieEscrita += texto; }
    void print(char c) { simulado::Placa().SerieEscrita += c; }
    void print(const std::string& texto) { simulado::Placa().SerieEscrita += texto; }
    void println(const char* texto) { print(texto), print('\n'); }
    void println(unsigned numero) { print(std::to_string(numero)), print('\n'); }
};
extern TSerieSimulada Serial;
