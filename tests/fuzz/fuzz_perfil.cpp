// Fuzz target: the profile reader. Any text is either refused, leaving the
// data as they were, or taken with every value inside its range.
#include "Comprobar.h"
#include "Perfil.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano)
{
    const std::string_view texto(reinterpret_cast<const char*>(datos), tamano);
    edk::TPerfil perfil;
    const edk::TDatosPerfil antes = perfil.Datos();
    if (!perfil.Leer(texto)) {
        Comprobar(!perfil.Error().empty());
        const edk::TDatosPerfil& despues = perfil.Datos();
        Comprobar(despues.SensibilidadApretar == antes.SensibilidadApretar
                  && despues.SensibilidadesCognitivas == antes.SensibilidadesCognitivas
                  && despues.CognitivasEntrenadas == antes.CognitivasEntrenadas
                  && despues.CognitivasActivas == antes.CognitivasActivas
                  && despues.ExpresivasEntrenadas == antes.ExpresivasEntrenadas
                  && despues.NivelEntrenamiento == antes.NivelEntrenamiento);
        return 0;
    }
    const edk::TDatosPerfil& d = perfil.Datos();
    Comprobar(d.SensibilidadApretar >= 0 && d.SensibilidadApretar <= 1000);
    for (const int s : d.SensibilidadesCognitivas)
        Comprobar(s >= 1 && s <= 9);
    Comprobar((d.CognitivasActivas & ~d.CognitivasEntrenadas) == 0);
    Comprobar(d.NivelEntrenamiento >= 0 && d.NivelEntrenamiento <= 1);
    return 0;
}
