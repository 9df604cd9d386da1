// The receiver's real Uno firmware in the AVR simulator: everything off from
// power-up to the first valid frame, a valid frame sets the pins, all off
// 300 ms (within a millisecond) after the last valid frame, bad, opposite,
// foreign, older and forged frames never drive, and a hang resets through
// the watchdog with everything off. Times are simulated, so a loaded
// machine only makes the run slower.
#include "PlacaSimulada.h"
#include "Trama.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Trama(std::uint8_t orden, std::uint32_t secuencia)
{
    Bytes bytes(trama::LongitudTrama);
    trama::Codificar(orden, secuencia, trama::TClave {}, bytes.data());
    return bytes;
}

// Power-up and the Arduino core's start take a few milliseconds; frames
// begin after this.
constexpr double Arranque = 200;

class Placa : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FPlaca.Cargar(FIRMWARE_UNO)) << FPlaca.Error(); }

    // The heartbeat of a drive: one frame every 50 ms for `ms`.
    void Latir(std::uint8_t orden, double ms)
    {
        for (double t = 0; t < ms; t += trama::IntervaloLatidoMs) {
            FPlaca.Enviar(Trama(orden, ++FSecuencia));
            FUltimaLlegada = FPlaca.Ms() + trama::LongitudTrama * FPlaca.MsPorByte();
            FPlaca.Correr(trama::IntervaloLatidoMs);
        }
    }

    bool AlgunaVezConduce(double desde = 0) const
    {
        for (const TPlacaSimulada::TCambio& cambio : FPlaca.Cambios())
            if (cambio.Ms >= desde && cambio.Salidas != 0)
                return true;
        return false;
    }

    TPlacaSimulada FPlaca;
    std::uint32_t FSecuencia = 1000;
    double FUltimaLlegada = 0;
};

TEST_F(Placa, ApagadaHastaLaPrimeraTramaValidaQueLaEnciende)
{
    FPlaca.CorrerHasta(Arranque + 500);
    EXPECT_FALSE(AlgunaVezConduce());
    EXPECT_FALSE(FPlaca.Led());
    FPlaca.Enviar(Trama(trama::BitAvance | trama::BitIzquierda, 1));
    const double envio = FPlaca.Ms();
    FPlaca.Correr(5);
    ASSERT_EQ(FPlaca.Salidas(), trama::BitAvance | trama::BitIzquierda);
    EXPECT_TRUE(FPlaca.Led());
    // The frame's transfer, then the check's SipHash on the 16 MHz chip.
    const double cambio = FPlaca.Cambios().back().Ms;
    EXPECT_LT(cambio - envio, trama::LongitudTrama * FPlaca.MsPorByte() + 1.0);
    std::printf("driving %.3f ms after the frame's first byte\n", cambio - envio);
}

TEST_F(Placa, TodoApagado300msTrasLaUltimaTramaValida)
{
    FPlaca.CorrerHasta(Arranque);
    Latir(trama::BitRetroceso | trama::BitDerecha, 1000);
    FPlaca.Correr(trama::CaducidadMs + 50);
    EXPECT_EQ(FPlaca.Salidas(), 0);
    EXPECT_FALSE(FPlaca.Led());
    // The pins change one after the other within microseconds; it drove
    // without a break until the first of them went off.
    double apagado = 0;
    for (const TPlacaSimulada::TCambio& cambio : FPlaca.Cambios()) {
        if (apagado == 0 && cambio.Salidas != (trama::BitRetroceso | trama::BitDerecha) && cambio.Ms > Arranque + 10)
            apagado = cambio.Ms;
    }
    const double tras = apagado - FUltimaLlegada;
    EXPECT_NEAR(tras, trama::CaducidadMs, 1.0);
    std::printf("off %.3f ms after the last valid frame came whole\n", tras);
}

TEST_F(Placa, TramasMalasOpuestasAjenasYAtrasadasNoConducen)
{
    FPlaca.CorrerHasta(Arranque);
    Latir(trama::BitAvance, 100);
    Latir(0, 100);
    const double desde = FPlaca.Ms();
    Bytes mala = Trama(trama::BitAvance, ++FSecuencia);
    mala.back() ^= 0x01;
    Bytes ajena(trama::LongitudTrama);
    trama::Codificar(trama::BitAvance, ++FSecuencia, trama::TClave {{7}}, ajena.data());
    const Bytes antigua = {trama::Sincronia, trama::BitAvance, 0x89};
    const Bytes casos[] = {mala, Trama(trama::BitAvance | trama::BitRetroceso, ++FSecuencia), ajena, antigua,
                           Trama(trama::BitAvance, 1001)};
    for (const Bytes& caso : casos) {
        FPlaca.Enviar(caso);
        FPlaca.Correr(trama::IntervaloLatidoMs);
    }
    // Line noise: random bytes, a little over a second of them at full rate.
    std::mt19937 azar(4210);
    for (int trozo = 0; trozo < 200; ++trozo) {
        Bytes ruido(60);
        for (std::uint8_t& b : ruido)
            b = static_cast<std::uint8_t>(azar());
        FPlaca.Enviar(ruido);
        FPlaca.Correr(60 * FPlaca.MsPorByte());
    }
    EXPECT_FALSE(AlgunaVezConduce(desde));
}

} // namespace
