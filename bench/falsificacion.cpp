// gedanko-falsificacion: how often random line noise forges a frame. Feeds
// random bytes (a seeded generator, 115200 baud's pace on the receiver's
// clock) through the receiver's decoder and counts the valid frames and the
// ones that would drive, with the bound they give at 95 % confidence:
//   banco/gedanko-falsificacion [BYTES] [SEED]     (default 4000000000 1)
#include "Receptor.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <random>

int main(int argc, char** argv)
{
    const std::uint64_t total = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 4000000000ULL;
    const std::uint64_t semilla = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    std::mt19937_64 azar(semilla);
    TReceptor receptor;
    std::uint64_t conducen = 0;
    // 11.52 bytes a millisecond at 115200 baud.
    constexpr std::uint64_t BytesPorMs = 11;
    for (std::uint64_t i = 0; i < total;) {
        std::uint64_t bloque = azar();
        for (int k = 0; k < 8 && i < total; ++k, ++i, bloque >>= 8) {
            const std::uint32_t tramas = receptor.TramasValidas();
            receptor.Recibir(static_cast<std::uint8_t>(bloque), static_cast<std::uint32_t>(i / BytesPorMs));
            if (receptor.TramasValidas() != tramas && receptor.Salidas() != 0)
                ++conducen;
        }
    }
    const double validas = receptor.TramasValidas();
    // With no event in n trials, 3/n bounds the rate at 95 % (rule of three).
    const double cota = validas == 0 ? 3.0 / static_cast<double>(total) : validas / static_cast<double>(total);
    std::printf("%" PRIu64 " random bytes: %.0f valid frames, %" PRIu64 " drive, %" PRIu32
                " frames refused; forged frames per byte %s %.3g\n",
                total, validas, conducen, receptor.TramasMalas(), validas == 0 ? "<" : "=", cota);
    return 0;
}
