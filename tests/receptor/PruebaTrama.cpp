// The frame as the program encodes it and the receiver decodes it: every
// command goes through, and noise, straggling or split frames, damaged,
// replayed and foreign frames never give a drive command that was not sent.
#include "AyudaTrama.h"
#include "Receptor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ostream>
#include <random>
#include <string>

namespace {

using namespace trama;

// Feeds the bytes all at one millisecond, as one read of a serial line.
std::uint8_t Salidas(const Bytes& bytes)
{
    TReceptor receptor;
    for (std::uint8_t byte : bytes)
        receptor.Recibir(byte, 1000);
    return receptor.Salidas();
}

// The reference vectors of SipHash-2-4: key 00..0F, message 00..n-1.
TEST(Trama, SipHashDaLosVectoresDeReferencia)
{
    std::uint8_t clave[16];
    std::uint8_t mensaje[16];
    for (std::uint8_t i = 0; i < 16; ++i)
        clave[i] = mensaje[i] = i;
    EXPECT_EQ(siphash::Calcular(clave, mensaje, 0), 0x726fdb47dd0e0e31ULL);
    EXPECT_EQ(siphash::Calcular(clave, mensaje, 1), 0x74f839c593dc67fdULL);
    EXPECT_EQ(siphash::Calcular(clave, mensaje, 7), 0xab0200f58b01d137ULL);
    EXPECT_EQ(siphash::Calcular(clave, mensaje, 8), 0x93f5f5799a932462ULL);
    EXPECT_EQ(siphash::Calcular(clave, mensaje, 15), 0xa129ca6149be45e5ULL);
}

TEST(Trama, CadaOrdenValidaLlegaTalCual)
{
    for (unsigned orden = 0; orden < 16; ++orden) {
        const auto o = static_cast<std::uint8_t>(orden);
        const Bytes bytes = Trama(o, 7);
        EXPECT_EQ(bytes[0], Sincronia);
        EXPECT_EQ(bytes[PosOrden], o);
        EXPECT_EQ(LeerSecuencia(bytes.data()), 7U);
        EXPECT_EQ(Salidas(bytes), OrdenValida(o) ? o : 0) << orden;
    }
}

// Even with a tag that matches, which the program never makes.
TEST(Trama, OrdenesOpuestasNuncaSeAceptan)
{
    for (std::uint8_t orden : {std::uint8_t(BitAvance | BitRetroceso), std::uint8_t(BitIzquierda | BitDerecha),
                               std::uint8_t(BitsOrden), std::uint8_t(0x10), std::uint8_t(0x81)}) {
        EXPECT_FALSE(OrdenValida(orden)) << int(orden);
        EXPECT_EQ(Salidas(Trama(BitAvance, 1) + Trama(orden, 2)), 0) << int(orden);
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

const Bytes Avance = Trama(BitAvance, 10);
const Bytes Izquierda = Trama(BitAvance | BitIzquierda, 11);

Bytes Cambiado(Bytes bytes, std::size_t posicion, std::uint8_t valor)
{
    bytes[posicion] = valor;
    return bytes;
}

Bytes Primeros(const Bytes& bytes, std::size_t cuantos)
{
    return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cuantos)};
}

INSTANTIATE_TEST_SUITE_P(
    Receptor, Flujo,
    testing::Values(CasoFlujo {"RuidoAntes", Bytes {0x00, 0x01, 0xFF, 0x55, 0x0A} + Avance, BitAvance},
                    CasoFlujo {"RuidoEntreTramas", Avance + Bytes {0x01, 0x02, 0x09, 0x89, 0x0D, 0x0A}, BitAvance},
                    CasoFlujo {"SincroniaSueltaAntes", Bytes {Sincronia, 0x01, Sincronia} + Avance, BitAvance},
                    CasoFlujo {"SincroniaRepetida", Bytes {Sincronia, Sincronia} + Avance, BitAvance},
                    CasoFlujo {"EtiquetaErronea", Cambiado(Avance, PosEtiqueta, Avance[PosEtiqueta] ^ 0x40), 0},
                    CasoFlujo {"EtiquetaErroneaApagaLoAnterior", Avance + Cambiado(Izquierda, LongitudTrama - 1, 0), 0},
                    CasoFlujo {"OtraVersionApaga", Avance + Cambiado(Izquierda, PosVersion, 0x81), 0},
                    // The older three-byte frame of forward never drives.
                    CasoFlujo {"TramaAntigua", Bytes {Sincronia, BitAvance, 0x89, Sincronia, BitAvance, 0x89}, 0},
                    CasoFlujo {"OtraClaveNoConduce", Trama(BitAvance, 10, {{1}}), 0},
                    CasoFlujo {"TramaCortadaPorOtra", Primeros(Avance, 6) + Izquierda, BitAvance | BitIzquierda},
                    CasoFlujo {"TramaIncompletaNoCambiaNada", Avance + Primeros(Izquierda, 10), BitAvance},
                    CasoFlujo {"ParadaTrasAvance", Avance + Trama(0, 11), 0},
                    CasoFlujo {"SecuenciaQueVuelveAtrasNoConduce", Trama(0, 20) + Avance, 0},
                    CasoFlujo {"SecuenciaRepetidaNoConduce", Trama(0, 10) + Avance, 0},
                    CasoFlujo {"SecuenciaDaLaVuelta", Trama(0, 0xFFFFFFFF) + Trama(BitAvance, 0), BitAvance},
                    CasoFlujo {"LaMasNuevaDeUnAtrasoManda", Avance + Izquierda + Trama(0, 12) + Trama(BitIzquierda, 13),
                               BitIzquierda}),
    [](const testing::TestParamInfo<CasoFlujo>& caso) { return caso.param.Nombre; });

// A frame cut anywhere and delivered in pieces, as serial reads do: whole
// when the pieces come within the pause a frame may have, never otherwise.
TEST(Trama, TramaPartidaSoloLlegaSiSusBytesVanSeguidos)
{
    const Bytes flujo = Bytes {0x42} + Avance;
    for (std::uint32_t pausa : {0U, std::uint32_t(PausaMaximaMs), PausaMaximaMs + 1U, 2000U}) {
        for (std::size_t corte = 2; corte < flujo.size(); ++corte) {
            TReceptor receptor;
            for (std::size_t i = 0; i < flujo.size(); ++i)
                receptor.Recibir(flujo[i], i < corte ? 10 : 10 + pausa);
            EXPECT_EQ(receptor.Salidas(), pausa <= PausaMaximaMs ? BitAvance : 0) << pausa << " ms at " << corte;
        }
    }
}

// No single flipped bit turns a frame into another drive command.
TEST(Trama, UnBitCambiadoNuncaDaOtraOrden)
{
    for (unsigned orden = 0; orden < 16; ++orden) {
        const Bytes buena = Trama(static_cast<std::uint8_t>(orden), 5);
        for (unsigned bit = 0; bit < 8 * LongitudTrama; ++bit) {
            Bytes mala = buena;
            mala[bit / 8] ^= static_cast<std::uint8_t>(1U << (bit % 8));
            EXPECT_EQ(Salidas(Trama(0, 4) + mala), 0) << "command " << orden << ", bit " << bit;
        }
    }
}

// Random line noise with syncs and version bytes sprinkled in, so that many
// frames get started: nothing drives, and every start is dropped again.
TEST(Trama, RuidoAleatorioNuncaConduce)
{
    std::mt19937 azar(20261210);
    std::uniform_int_distribution<int> byte(0, 255);
    TReceptor receptor;
    for (std::uint32_t i = 0; i < 2000000; ++i) {
        const auto b = static_cast<std::uint8_t>(i % 7 == 0 ? Sincronia : i % 7 == 1 ? Version : byte(azar));
        receptor.Recibir(b, i / 64);
        ASSERT_EQ(receptor.Salidas(), 0) << "at byte " << i;
    }
    EXPECT_EQ(receptor.TramasValidas(), 0U);
    EXPECT_GT(receptor.TramasMalas(), 100000U);
}

class Datagrama : public testing::Test {
protected:
    void Enviar(const Bytes& bytes, std::uint32_t ahora = 100)
    {
        FReceptor.RecibirDatagrama(bytes.data(), static_cast<std::uint16_t>(bytes.size()), ahora);
    }
    const TClave FClave {{0x5e, 0xc2, 0x37, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x99}};
    TReceptor FReceptor;
    void SetUp() override
    {
        FReceptor.FijarClave(FClave);
        Enviar(Trama(BitAvance, 1, FClave));
        ASSERT_EQ(FReceptor.Salidas(), BitAvance);
    }
};

TEST_F(Datagrama, SoloUnaTramaEnteraConLaClaveConduce)
{
    const Bytes izquierda = Trama(BitIzquierda, 2, FClave);
    for (const Bytes& malo : {Primeros(izquierda, 4), izquierda + Bytes {0}, izquierda + Trama(BitIzquierda, 3, FClave),
                              Trama(BitIzquierda, 2), Bytes {}}) {
        Enviar(Trama(BitAvance, FReceptor.Secuencia() + 1, FClave));
        Enviar(malo);
        EXPECT_EQ(FReceptor.Salidas(), 0) << malo.size() << " bytes";
    }
    Enviar(izquierda);
    EXPECT_EQ(FReceptor.Salidas(), 0) << "sequence number not newer";
    Enviar(Trama(BitIzquierda, 100, FClave));
    EXPECT_EQ(FReceptor.Salidas(), BitIzquierda);
}

// A frame split over three datagrams, as a sender that ignored the
// one-frame rule would send it.
TEST_F(Datagrama, TramaRepartidaNoConduce)
{
    Enviar(Trama(0, 2, FClave));
    const Bytes avance = Trama(BitAvance, 3, FClave);
    Enviar(Primeros(avance, 3));
    Enviar(Bytes(avance.begin() + 3, avance.begin() + 7));
    Enviar(Bytes(avance.begin() + 7, avance.end()));
    EXPECT_EQ(FReceptor.Salidas(), 0);
    EXPECT_EQ(FReceptor.TramasValidas(), 2U);
}

struct CasoClave {
    const char* Texto;
    bool Valida;
};

TEST(Trama, LaClaveSonTreintaYDosCifrasHexadecimales)
{
    const CasoClave casos[] = {
        {"000102030405060708090a0b0c0d0e0F", true},   {"000102030405060708090a0b0c0d0e", false},
        {"000102030405060708090a0b0c0d0e0f0", false}, {"000102030405060708090a0b0c0d0e0g", false},
        {"00000000000000000000000000000000", false},  {"", false},
    };
    for (const CasoClave& caso : casos) {
        TClave clave {};
        EXPECT_EQ(LeerClave(caso.Texto, clave), caso.Valida) << caso.Texto;
        if (caso.Valida) {
            EXPECT_EQ(clave.Bytes[15], 0x0F);
        }
    }
}

} // namespace
