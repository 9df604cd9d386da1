// Value sets shared by the headset link, the drive decision and the window.
#pragma once

#include <cstdint>

enum TDireccion : std::uint8_t { dirNinguna = 0, dirNeutral = 1, dirAvance = 2, dirRetroceso = 3 };

enum TGiro : std::uint8_t { giroNinguno = 0, giroIzquierda = 1, giroDerecha = 2 };

enum NivelRegistro : std::uint8_t { nrEstado = 0, nrInformacion = 1, nrError = 2 };

// One full headset reading, as the connection gives it and the drive decision
// takes it: the detected drive with its power 0..10, and the gyro's turn with
// its magnitude 0..10.
struct TLectura {
    TDireccion Direccion = dirNinguna;
    std::uint32_t Potencia = 0;
    TGiro Giro = giroNinguno;
    std::uint32_t MagnitudGiro = 0;
};
