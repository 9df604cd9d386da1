// Value sets shared by the headset link, the drive decision and the window.
#pragma once

#include <cstdint>

enum TDireccion : std::uint8_t { dirNinguna = 0, dirNeutral = 1, dirAvance = 2, dirRetroceso = 3 };

enum TGiro : std::uint8_t { giroNinguno = 0, giroIzquierda = 1, giroDerecha = 2 };

enum NivelRegistro : std::uint8_t { nrEstado = 0, nrInformacion = 1, nrError = 2 };

// The wireless signal as the window shows it: nsSinEstado when the engine
// gave a status it does not define.
enum TNivelSenal : std::uint8_t { nsSinEstado = 0, nsSinSenal = 1, nsMala = 2, nsBuena = 3 };

// Detected powers and turn magnitudes run 0..EscalaLectura, and so do the
// operator's two thresholds they are compared with.
constexpr int EscalaLectura = 10;
// A threshold the settings file does not give.
constexpr int UmbralPorDefecto = 5;

// One full headset reading, as the connection gives it and the drive decision
// takes it: the detected drive with its power, and the gyro's turn with its
// magnitude, both 0..EscalaLectura.
struct TLectura {
    TDireccion Direccion = dirNinguna;
    std::uint32_t Potencia = 0;
    TGiro Giro = giroNinguno;
    std::uint32_t MagnitudGiro = 0;
};
