// Value sets shared by the headset link, the drive decision and the window.
#pragma once

#include <cstdint>

enum TDireccion : std::uint8_t { dirNinguna = 0, dirNeutral = 1, dirAvance = 2, dirRetroceso = 3 };

enum TGiro : std::uint8_t { giroNinguno = 0, giroIzquierda = 1, giroDerecha = 2 };

enum NivelRegistro : std::uint8_t { nrEstado = 0, nrInformacion = 1, nrError = 2 };
