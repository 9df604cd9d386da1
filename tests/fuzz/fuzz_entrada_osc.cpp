// Fuzz target: the emulator's OSC message handler, over the built-in maps.
// Any packet is taken or warned about without a crash, and the state it
// leaves is always one the protocol can carry.
#include "Comprobar.h"
#include "EntradaOsc.h"
#include "Modelo.h"
#include "Protocolo.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

const emulador::TMapaOsc& Mapa(bool muse)
{
    static const emulador::TMapaOsc mapas[2] = {[] {
                                                    emulador::TMapaOsc m;
                                                    m.Cargar("generico");
                                                    return m;
                                                }(),
                                                [] {
                                                    emulador::TMapaOsc m;
                                                    m.Cargar("muse");
                                                    return m;
                                                }()};
    return mapas[muse ? 1 : 0];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano)
{
    if (tamano == 0)
        return 0;
    // The first byte picks the map and how far the clock moves.
    emulador::TEntradaOsc entrada(Mapa((datos[0] & 1) != 0), 0);
    emulador::TEstadoVivo vivo;
    const double ahora = (datos[0] >> 1) * 0.01;
    entrada.Paquete(datos + 1, tamano - 1, ahora, vivo);
    entrada.Revisar(ahora + 0.2, vivo);
    entrada.Paquete(datos + 1, tamano - 1, ahora + 0.3, vivo);
    entrada.Revisar(ahora + 1.0, vivo);
    edk::TEvento e;
    e.Tipo = EE_EmoStateUpdated;
    vivo.Aplicar(e.Estado);
    std::string linea;
    Comprobar(edk::FormatearEvento(e, linea));
    return 0;
}
