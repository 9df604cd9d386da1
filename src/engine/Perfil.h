// A user profile in the engine's own text format (.emu): the detection
// settings and training results that EE_LoadUserProfile hands to a user.
#pragma once

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
    int SensibilidadApretar = 500; // clench threshold 0..1000
    std::array<int, 4> SensibilidadesCognitivas {5, 5, 5, 5}; // slots 1..4, each 1..9
    std::uint32_t CognitivasEntrenadas = 0x0001;
    std::uint32_t CognitivasActivas = 0x0001;
    std::uint32_t ExpresivasEntrenadas = 0x0001;
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
