// Fuzz target: the scenario reader, then the player over whatever it took.
// Any text is either refused with a line-numbered reason or played without
// hanging, with events in time order and values inside their ranges.
#include "Comprobar.h"
#include "Escenario.h"
#include "edk.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

void Reproducir(const edk::TEscenario& escenario, bool enBucle)
{
    edk::TReproductor reproductor(escenario, edk::EstadosPorSegundo, enBucle);
    std::vector<edk::TEvento> eventos;
    const double duracion = escenario.Duracion();
    for (const double ahora : {0.0, 0.2, 0.9, duracion * 0.5, duracion, duracion + 3.0, duracion * 2 + 1.5, 1e9}) {
        eventos.clear();
        reproductor.Avanzar(ahora, eventos);
        float anterior = -1;
        for (const edk::TEvento& e : eventos) {
            const edk::TEstadoEmo& s = e.Estado;
            if (e.Tipo == EE_EmoStateUpdated) {
                Comprobar(s.Tiempo >= anterior);
                anterior = s.Tiempo;
            }
            Comprobar(s.PotenciaCognitiva >= 0 && s.PotenciaCognitiva <= 1);
            Comprobar(s.PotenciaExpresiva >= 0 && s.PotenciaExpresiva <= 1);
            Comprobar(s.Senal >= 0 && s.Senal <= 2 && s.Bateria <= s.BateriaMax);
        }
        // A burst is bounded by the scenario's lines plus about a second of EmoStates per lap.
        Comprobar(eventos.size() <= 3 * escenario.Ordenes().size() + 3 * 2 * edk::EstadosPorSegundo + 8);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano)
{
    const std::string_view texto(reinterpret_cast<const char*>(datos), tamano);
    edk::TEscenario escenario;
    if (!escenario.Leer(texto)) {
        Comprobar(escenario.Error().starts_with("línea ") || escenario.Error() == "el escenario es demasiado grande");
        Comprobar(escenario.Ordenes().empty());
        return 0;
    }
    double anterior = 0;
    for (const edk::TOrden& orden : escenario.Ordenes()) {
        Comprobar(orden.Tiempo >= anterior && orden.Tiempo <= escenario.Duracion());
        anterior = orden.Tiempo;
    }
    Reproducir(escenario, false);
    Reproducir(escenario, true);
    return 0;
}
