// A user profile in the engine's own text format (.emu): the detection
// settings and training results that EE_LoadUserProfile hands to a user.
#pragma once

#include "EscalasCasco.h"
#include "edk.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace edk {

// First line of every profile file.
constexpr std::string_view CabeceraPerfil = "GEDANKO-PERFIL 1";

// Profiles are small; anything bigger is not one of ours.
constexpr std::size_t TamanoMaximoPerfil = 64 * 1024;

struct TDatosPerfil {
    int SensibilidadApretar = SensibilidadAvanceNeutra; // the clench threshold
    std::array<int, NumRanurasCognitivas> SensibilidadesCognitivas {
        SensibilidadCognitivaNeutra, SensibilidadCognitivaNeutra, SensibilidadCognitivaNeutra,
        SensibilidadCognitivaNeutra};
    std::uint32_t CognitivasEntrenadas = ACC_COG_NEUTRAL;
    std::uint32_t CognitivasActivas = ACC_COG_NEUTRAL;
    std::uint32_t ExpresivasEntrenadas = ACC_EXP_NEUTRAL;
    float NivelEntrenamiento = 0; // overall skill 0..1
};

class TPerfil {
public:
    // Reads a whole profile. On failure the previous data stay as they were
    // and Error() says "línea N: ..." (or what is missing).
    bool Leer(std::string_view texto);

    // 0 when read; 0x0309 when the file cannot be read; 0x0101 when it is
    // not a valid profile.
    int LeerFichero(const std::string& ruta);

    const TDatosPerfil& Datos() const { return FDatos; }
    const std::string& Error() const { return FError; }

private:
    TDatosPerfil FDatos;
    std::string FError;
};

} // namespace edk
