// The receiver's failsafe on an injected millisecond clock: all off at
// power-up, after the timeout without a valid frame, also across the wrap of
// the board's counter; the heartbeat keeps a command alive; the last
// sequence number is kept while a link may still be current.
#include "AyudaTrama.h"
#include "Receptor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

void Enviar(TReceptor& receptor, std::uint8_t orden, std::uint32_t secuencia, std::uint32_t ahora)
{
    for (std::uint8_t byte : Trama(orden, secuencia))
        receptor.Recibir(byte, ahora);
}

TEST(Receptor, ApagadoYSinEnlaceAlArrancar)
{
    TReceptor receptor;
    EXPECT_EQ(receptor.Salidas(), 0);
    EXPECT_FALSE(receptor.Enlace());
    receptor.Vigilar(0xFFFFFFFF);
    EXPECT_EQ(receptor.Salidas(), 0);
    EXPECT_EQ(receptor.RestoHastaCaducar(0), 0U);
}

class Caducidad : public testing::TestWithParam<std::uint32_t> { };

TEST_P(Caducidad, ApagaALos300msDeLaUltimaTrama)
{
    const std::uint32_t inicio = GetParam();
    TReceptor receptor;
    Enviar(receptor, trama::BitAvance, 1, inicio);
    ASSERT_EQ(receptor.Salidas(), trama::BitAvance);
    EXPECT_EQ(receptor.RestoHastaCaducar(inicio + 100), trama::CaducidadMs - 100U);
    receptor.Vigilar(inicio + trama::CaducidadMs - 1);
    EXPECT_EQ(receptor.Salidas(), trama::BitAvance);
    EXPECT_TRUE(receptor.Enlace());
    receptor.Vigilar(inicio + trama::CaducidadMs);
    EXPECT_EQ(receptor.Salidas(), 0);
    EXPECT_FALSE(receptor.Enlace());
    // The same frame again, late, does not bring it back.
    Enviar(receptor, trama::BitAvance, 1, inicio + 400);
    EXPECT_EQ(receptor.Salidas(), 0);
}

// Counter values near its wrap after 49.7 days, and an ordinary one.
INSTANTIATE_TEST_SUITE_P(Receptor, Caducidad, testing::Values(1000U, 0xFFFFFF00U, 0xFFFFFFFFU),
                         [](const testing::TestParamInfo<std::uint32_t>& caso) {
                             return "Desde" + std::to_string(caso.param);
                         });

TEST(Receptor, ElLatidoMantieneLaOrdenYSuFaltaLaApaga)
{
    TReceptor receptor;
    std::uint32_t ahora = 5000;
    for (std::uint32_t i = 0; i < 100; ++i, ahora += trama::IntervaloLatidoMs) {
        Enviar(receptor, trama::BitRetroceso | trama::BitDerecha, 1000 + i, ahora);
        receptor.Vigilar(ahora + trama::IntervaloLatidoMs - 1);
        ASSERT_EQ(receptor.Salidas(), trama::BitRetroceso | trama::BitDerecha) << i;
    }
    // Bytes that make no valid frame do not count as a heartbeat.
    receptor.Recibir(0x00, ahora + 100);
    receptor.Recibir(trama::Sincronia, ahora + 200);
    receptor.Vigilar(ahora - trama::IntervaloLatidoMs + trama::CaducidadMs);
    EXPECT_EQ(receptor.Salidas(), 0);
    EXPECT_EQ(receptor.TramasValidas(), 100U);
}

TEST(Receptor, UnaTramaMalaApagaPeroElEnlaceSigue)
{
    TReceptor receptor;
    Enviar(receptor, trama::BitAvance, 1, 10);
    Bytes mala = Trama(trama::BitAvance, 2);
    mala.back() ^= 1;
    for (std::uint8_t byte : mala)
        receptor.Recibir(byte, 20);
    EXPECT_EQ(receptor.Salidas(), 0);
    // The next good frame drives again at once.
    Enviar(receptor, trama::BitAvance, 3, 30);
    EXPECT_EQ(receptor.Salidas(), trama::BitAvance);
    EXPECT_EQ(receptor.UltimaTrama(), 30U);
}

// A sender that restarts with a lower counter is refused while the link
// may still be its own, and taken once the receiver has forgotten it.
TEST(Receptor, OlvidaLaSecuenciaTrasUnaHoraSinEnlace)
{
    TReceptor receptor;
    Enviar(receptor, trama::BitAvance, 5000, 0);
    std::uint32_t ahora = trama::OlvidoSecuenciaMs - 1;
    for (std::uint32_t t = 0; t <= ahora; t += 1000)
        receptor.Vigilar(t);
    Enviar(receptor, trama::BitAvance, 7, ahora);
    EXPECT_EQ(receptor.Salidas(), 0);
    EXPECT_EQ(receptor.TramasAtrasadas(), 1U);
    receptor.Vigilar(++ahora);
    Enviar(receptor, trama::BitAvance, 7, ahora);
    EXPECT_EQ(receptor.Salidas(), trama::BitAvance);
}

} // namespace
