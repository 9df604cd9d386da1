// Connection to a remote emulator server by IPv4 address and port.
#pragma once

#include "Conexion.h"

#include <cstdint>

class TConexionEmulador : public TConexion {
public:
    static constexpr int LongitudMaximaServidor = 15;

    // The address is 8-bit, NUL-terminated text; a longer one than 15
    // characters is kept out and refused by Conectar.
    TConexionEmulador(const char* servidor, std::uint16_t puerto);
    bool Conectar() override;

private:
    char FServidor[LongitudMaximaServidor + 1] {}; // with its NUL
    std::uint16_t FPuerto;
    bool FServidorValido = true;
};
