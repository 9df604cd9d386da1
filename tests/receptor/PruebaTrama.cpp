// The frame as the program encodes it and the receiver decodes it: every
// command goes through, and noise, split frames and damaged frames never
// give a drive command that was not sent.
#include "Receptor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Trama(std::uint8_t orden)
{
    Bytes bytes(trama::LongitudTrama);
    trama::Codificar(orden, bytes.data());
    return bytes;
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Feeds the bytes one a millisecond, well within the timeout.
std::uint8_t Salidas(const Bytes& bytes)
{
    TReceptor receptor;
    std::uint32_t ahora = 1000;
    for (std::uint8_t byte : bytes)
        receptor.Recibir(byte, ahora++);
    return receptor.Salidas();
}

TEST(Trama, CadaOrdenValidaLlegaTalCual)
{
    for (unsigned orden = 0; orden < 16; ++orden) {
        const auto o = static_cast<std::uint8_t>(orden);
        const Bytes bytes = Trama(o);
        EXPECT_EQ(bytes[0], trama::Sincronia);
        EXPECT_EQ(bytes[1], o);
        // The check is never a command byte nor the sync, so neither can be
        // taken for the other after a lost byte.
        EXPECT_GE(bytes[2], 0x80) << orden;
        EXPECT_NE(bytes[2], trama::Sincronia) << orden;
        EXPECT_EQ(Salidas(bytes), trama::OrdenValida(o) ? o : 0) << orden;
    }
}

TEST(Trama, OrdenesOpuestasNuncaSeAceptan)
{
    using namespace trama;
    for (std::uint8_t orden : {std::uint8_t(BitAvance | BitRetroceso), std::uint8_t(BitIzquierda | BitDerecha),
                               std::uint8_t(BitsOrden), std::uint8_t(0x10), std::uint8_t(0x81)}) {
        EXPECT_FALSE(OrdenValida(orden)) << int(orden);
        // Even with a matching check byte.
        EXPECT_EQ(Salidas(Trama(BitAvance) + Trama(orden)), 0) << int(orden);
    }
}

struct CasoFlujo {
    std::string Nombre;
    Bytes Flujo;
    std::uint8_t Esperadas;
    friend void PrintTo(const CasoFlujo& caso, std::ostream* salida) { *salida << caso.Nombre; }
};

class Flujo : public testing::TestWithParam<CasoFlujo> { };

TEST_P(Flujo, DaLasSalidasEsperadas)
{
    EXPECT_EQ(Salidas(GetParam().Flujo), GetParam().Esperadas);
}

using namespace trama;
const Bytes Avance = Trama(BitAvance);
const Bytes Izquierda = Trama(BitAvance | BitIzquierda);
const std::uint8_t ComprobacionAvance = Avance[2];

INSTANTIATE_TEST_SUITE_P(
    Receptor, Flujo,
    testing::Values(
        CasoFlujo {"RuidoAntes", Bytes {0x00, 0x01, 0xFF, 0x55, 0x0A} + Avance, BitAvance},
        CasoFlujo {"RuidoEntreTramas", Avance + Bytes {0x01, 0x02, 0x09, 0x89, 0x0D, 0x0A}, BitAvance},
        CasoFlujo {"SoloRuidoSinSincronia", Bytes {0x01, 0x89, 0x01, 0x89, 0x05, 0x95}, 0},
        CasoFlujo {"SincroniaRepetida", Bytes {Sincronia, Sincronia} + Avance, BitAvance},
        CasoFlujo {"ComprobacionErronea", Bytes {Sincronia, BitAvance, 0x00}, 0},
        CasoFlujo {"ComprobacionCopiaDeLaOrden", Bytes {Sincronia, BitAvance, BitAvance}, 0},
        CasoFlujo {"ComprobacionErroneaApagaLoAnterior", Avance + Bytes {Sincronia, BitAvance, 0x8A}, 0},
        CasoFlujo {"OrdenNoValidaApaga", Avance + Bytes {Sincronia, 0x30, ComprobacionAvance}, 0},
        CasoFlujo {"TramaCortadaPorOtra", Bytes {Sincronia, BitAvance} + Izquierda, BitAvance | BitIzquierda},
        CasoFlujo {"TramaRotaSeguidaDeBuena", Bytes {Sincronia, BitAvance, 0x11} + Izquierda, BitAvance | BitIzquierda},
        CasoFlujo {"ComprobacionComoSincronia", Bytes {Sincronia, BitAvance, Sincronia, BitAvance, ComprobacionAvance},
                   BitAvance},
        CasoFlujo {"TramaIncompletaNoCambiaNada", Avance + Bytes {Sincronia, BitIzquierda}, BitAvance},
        CasoFlujo {"ParadaTrasAvance", Avance + Trama(0), 0}),
    [](const testing::TestParamInfo<CasoFlujo>& caso) { return caso.param.Nombre; });

// A frame cut anywhere and delivered in pieces, as serial reads do.
TEST(Trama, TramaPartidaEnTrozosLlegaEntera)
{
    const Bytes flujo = Bytes {0x42} + Izquierda + Avance;
    for (std::size_t corte = 0; corte <= flujo.size(); ++corte) {
        TReceptor receptor;
        for (std::size_t i = 0; i < corte; ++i)
            receptor.Recibir(flujo[i], 10);
        for (std::size_t i = corte; i < flujo.size(); ++i)
            receptor.Recibir(flujo[i], 250);
        EXPECT_EQ(receptor.Salidas(), BitAvance) << corte;
    }
}

// No single flipped bit turns one frame into another drive command.
TEST(Trama, UnBitCambiadoNuncaDaOtraOrden)
{
    for (unsigned orden = 0; orden < 16; ++orden) {
        const Bytes buena = Trama(static_cast<std::uint8_t>(orden));
        for (unsigned bit = 0; bit < 8 * LongitudTrama; ++bit) {
            Bytes mala = buena;
            mala[bit / 8] ^= static_cast<std::uint8_t>(1U << (bit % 8));
            const std::uint8_t salidas = Salidas(Trama(0) + mala);
            EXPECT_EQ(salidas, 0) << "command " << orden << ", bit " << bit;
        }
    }
}

// Random line noise: whenever the outputs drive, the last three bytes were
// exactly the frame of that command.
TEST(Trama, RuidoAleatorioSoloConduceConUnaTramaExacta)
{
    std::mt19937 azar(20261210);
    std::uniform_int_distribution<int> byte(0, 255);
    TReceptor receptor;
    Bytes recibidos;
    unsigned conducciones = 0;
    for (std::uint32_t i = 0; i < 2000000; ++i) {
        // Syncs now and then, so that frames get started and broken.
        const auto b = static_cast<std::uint8_t>(i % 7 == 0 ? Sincronia : byte(azar));
        recibidos.push_back(b);
        const std::uint8_t antes = receptor.Salidas();
        receptor.Recibir(b, i / 64);
        const std::uint8_t despues = receptor.Salidas();
        if (despues != 0 && despues != antes) {
            ++conducciones;
            const Bytes ultimos(recibidos.end() - 3, recibidos.end());
            ASSERT_EQ(ultimos, Trama(despues)) << "at byte " << i;
        }
        if (recibidos.size() > 64)
            recibidos.erase(recibidos.begin(), recibidos.end() - 3);
    }
    // The stream did hit some frames by chance: the check above ran.
    EXPECT_GT(conducciones, 0U);
}

} // namespace
