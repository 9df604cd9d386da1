#include "ConexionEmulador.h"

#include <cstring>

TConexionEmulador::TConexionEmulador(const char* servidor, std::uint16_t puerto) : FPuerto(puerto)
{
    // Only a whole address fits: a cut one would reach a different server.
    std::size_t longitud = servidor ? strnlen(servidor, sizeof FServidor) : sizeof FServidor;
    FServidorValido = longitud <= LongitudMaximaServidor;
    if (FServidorValido)
        std::memcpy(FServidor, servidor, longitud);
}

bool TConexionEmulador::Conectar()
{
    if (!FServidorValido) {
        FResultado = EDK_PARAMETRO_NO_VALIDO;
        return false;
    }
    FResultado = EE_EngineRemoteConnect(FServidor, FPuerto);
    return FResultado == EDK_SIN_ERRORES;
}
