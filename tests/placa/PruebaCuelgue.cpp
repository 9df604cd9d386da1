// A test build of the receiver's Uno firmware that hangs for good while A0
// is held low: the hardware watchdog resets the board, and from the hang on
// nothing is driven although frames keep coming; let go, it drives again.
#include "PlacaSimulada.h"
#include "Trama.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::vector<std::uint8_t> Trama(std::uint8_t orden, std::uint32_t secuencia)
{
    std::vector<std::uint8_t> bytes(trama::LongitudTrama);
    trama::Codificar(orden, secuencia, trama::TClave {}, bytes.data());
    return bytes;
}

TEST(Cuelgue, ElVigilanteReiniciaYDejaTodoApagado)
{
    TPlacaSimulada placa;
    ASSERT_TRUE(placa.Cargar(FIRMWARE_UNO_CUELGUE)) << placa.Error();
    placa.CorrerHasta(200);
    std::uint32_t secuencia = 1;
    auto latir = [&](double ms) {
        for (double t = 0; t < ms; t += trama::IntervaloLatidoMs) {
            placa.Enviar(Trama(trama::BitAvance, ++secuencia));
            placa.Correr(trama::IntervaloLatidoMs);
        }
    };
    latir(200);
    ASSERT_EQ(placa.Salidas(), trama::BitAvance);
    placa.FijarPinC(0, true);
    const double cuelgue = placa.Ms();
    latir(1500);
    EXPECT_GE(placa.Reinicios(), 1);
    EXPECT_EQ(placa.Salidas(), 0);
    // Off from the watchdog's reset on: its period is 250 ms (the simulated
    // 128 kHz oscillator's 32768 cycles: 256 ms).
    double apagado = 0;
    for (const TPlacaSimulada::TCambio& cambio : placa.Cambios()) {
        if (cambio.Ms <= cuelgue)
            continue;
        if (apagado == 0 && cambio.Salidas == 0)
            apagado = cambio.Ms;
        if (apagado != 0) {
            EXPECT_EQ(cambio.Salidas, 0) << cambio.Ms;
        }
    }
    ASSERT_GT(apagado, 0);
    EXPECT_LT(apagado - cuelgue, trama::CaducidadMs);
    std::printf("hung at %.1f ms, off through a reset %.1f ms later\n", cuelgue, apagado - cuelgue);

    placa.FijarPinC(0, false);
    latir(300);
    EXPECT_EQ(placa.Salidas(), trama::BitAvance);
}

} // namespace
