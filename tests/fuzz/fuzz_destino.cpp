// Fuzz target: the output destination's parser. Any text is either refused
// with a reason, leaving the parallel port, or taken as a destination whose
// own text reads back as the same destination.
#include "Comprobar.h"
#include "DestinoSalida.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano)
{
    const QString texto = QString::fromUtf8(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(tamano));
    TDestinoSalida destino;
    if (!destino.Interpretar(texto)) {
        Comprobar(!destino.MensajeError().isEmpty());
        Comprobar(destino.Tipo() == TDestinoSalida::tdParalelo);
        return 0;
    }
    Comprobar(destino.MensajeError().isEmpty());
    if (destino.Tipo() == TDestinoSalida::tdSerie)
        Comprobar(destino.Baudios() >= TDestinoSalida::BaudiosMinimos
                  && destino.Baudios() <= TDestinoSalida::BaudiosMaximos);
    if (destino.Tipo() == TDestinoSalida::tdUdp)
        Comprobar(destino.Puerto() != 0);
    TDestinoSalida otra;
    Comprobar(otra.Interpretar(destino.Texto()));
    Comprobar(otra.Texto() == destino.Texto());
    return 0;
}
