// The pin table of each board family: five different pins, none that must
// stay free on that family (strapping, UART, flash, PSRAM, input-only), and
// no output on the LED of the family's common boards. The check itself
// refuses each kind of mistake.
#include "Pines.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct CasoFamilia {
    std::string Nombre;
    TPines Tabla;
    std::vector<std::uint8_t> Prohibidos;
    // LED_BUILTIN of the family's common variants.
    std::vector<std::uint8_t> Leds;
    friend void PrintTo(const CasoFamilia& caso, std::ostream* salida) { *salida << caso.Nombre; }
};

class Familia : public testing::TestWithParam<CasoFamilia> { };

TEST_P(Familia, SuTablaPasaLaComprobacion)
{
    const CasoFamilia& caso = GetParam();
    const auto cuantos = static_cast<std::uint8_t>(caso.Prohibidos.size());
    EXPECT_TRUE(pines::Distintos(caso.Tabla));
    EXPECT_TRUE(pines::Libres(caso.Tabla, caso.Prohibidos.data(), cuantos));
    for (std::uint8_t led : caso.Leds)
        EXPECT_TRUE(pines::FueraDelLed(caso.Tabla, led)) << int(led);
}

INSTANTIATE_TEST_SUITE_P(
    Pines, Familia,
    testing::Values(
        CasoFamilia {"Avr", pines::Avr, {std::begin(pines::ProhibidosAvr), std::end(pines::ProhibidosAvr)}, {13}},
        // DevKit V1 and most boards: 2; some WROVER kits: 5; LOLIN32: 22.
        CasoFamilia {"Esp32",
                     pines::Esp32,
                     {std::begin(pines::ProhibidosEsp32), std::end(pines::ProhibidosEsp32)},
                     {2, 5, 22, pines::SinLed}}),
    [](const testing::TestParamInfo<CasoFamilia>& caso) { return caso.param.Nombre; });

// The pins the ESP32 must leave alone are on its list.
TEST(Pines, LaListaDelEsp32TieneLosPinesDelArranqueLaUartLaFlashYLaPsram)
{
    for (std::uint8_t pin : {0, 2, 5, 12, 15, 1, 3, 6, 11, 16, 17, 34, 39})
        EXPECT_TRUE(pines::EnLista(pin, pines::ProhibidosEsp32, sizeof pines::ProhibidosEsp32)) << int(pin);
}

TEST(Pines, LaComprobacionRechazaCadaError)
{
    const std::uint8_t prohibidos[] = {0, 1};
    EXPECT_FALSE(pines::Distintos({2, 3, 4, 2, 13}));
    EXPECT_FALSE(pines::Distintos({2, 3, 4, 5, 4}));
    EXPECT_FALSE(pines::Libres({1, 3, 4, 5, 13}, prohibidos, 2));
    EXPECT_FALSE(pines::Libres({2, 3, 4, 5, 0}, prohibidos, 2));
    EXPECT_FALSE(pines::FueraDelLed({2, 3, 13, 5, 12}, 13));
    // The link LED may be the board's.
    EXPECT_TRUE(pines::FueraDelLed({2, 3, 4, 5, 13}, 13));
}

} // namespace
