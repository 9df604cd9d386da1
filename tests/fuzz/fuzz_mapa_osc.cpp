// Fuzz target: the OSC mapping reader. Any text is either refused with
// line-numbered reasons or taken with every rule inside its ranges.
#include "Comprobar.h"
#include "MapaOsc.h"
#include "Modelo.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano)
{
    emulador::TMapaOsc mapa;
    if (!mapa.Leer(std::string_view(reinterpret_cast<const char*>(datos), tamano))) {
        Comprobar(mapa.Error().starts_with("línea ") || mapa.Error().starts_with("el mapa "));
        Comprobar(mapa.Reglas().empty());
        return 0;
    }
    Comprobar(!mapa.Reglas().empty() && mapa.Reglas().size() <= emulador::ReglasMaximas);
    for (const emulador::TReglaOsc& r : mapa.Reglas()) {
        Comprobar(r.Direccion.starts_with('/') && r.Direccion.size() <= emulador::DireccionOscMaxima);
        Comprobar(r.Argumento <= emulador::ArgumentoMaximo);
        Comprobar(std::isfinite(r.Escala) && std::isfinite(r.Desplazamiento) && r.Umbral >= 0 && r.Retencion >= 0);
        Comprobar(r.Destino != emulador::TDestinoOsc::Contacto || !r.Canales.empty());
        for (const int canal : r.Canales)
            Comprobar(canal >= 0 && canal < edk::NumCanales);
        Comprobar(mapa.Contiene(r.Direccion));
    }
    return 0;
}
