// Fuzz target: the receiver's frame decoder and failsafe. Each input byte
// pair is a received byte and the milliseconds since the one before. The
// outputs never hold opposite commands, they only ever drive right after
// the exact frame of that command, and its sequence number only grows.
#include "Comprobar.h"
#include "Receptor.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano)
{
    TReceptor receptor;
    std::uint32_t ahora = 0xFFFFFF00U; // across the counter's wrap
    std::uint8_t ultimos[trama::LongitudTrama] = {};
    for (std::size_t i = 0; i + 1 < tamano; i += 2) {
        const std::uint8_t byte = datos[i];
        ahora += datos[i + 1];
        for (std::uint8_t k = 1; k < trama::LongitudTrama; ++k)
            ultimos[k - 1] = ultimos[k];
        ultimos[trama::LongitudTrama - 1] = byte;
        const std::uint8_t antes = receptor.Salidas();
        const std::uint32_t tramas = receptor.TramasValidas();
        const std::uint32_t secuencia = receptor.Secuencia();
        const bool enlazado = receptor.Enlace();
        receptor.Recibir(byte, ahora);
        const std::uint8_t despues = receptor.Salidas();
        Comprobar(despues == 0 || trama::OrdenValida(despues));
        Comprobar(despues == 0 || receptor.Enlace());
        // While the link is up, a frame is only taken with a newer number.
        if (receptor.TramasValidas() != tramas && enlazado)
            Comprobar(trama::Posterior(receptor.Secuencia(), secuencia));
        if (despues != 0 && (despues != antes || receptor.TramasValidas() != tramas)) {
            std::uint8_t esperada[trama::LongitudTrama];
            trama::Codificar(despues, receptor.Secuencia(), trama::TClave {}, esperada);
            for (std::uint8_t k = 0; k < trama::LongitudTrama; ++k)
                Comprobar(ultimos[k] == esperada[k]);
        }
        Comprobar(receptor.RestoHastaCaducar(ahora) <= trama::CaducidadMs);
    }
    return 0;
}
