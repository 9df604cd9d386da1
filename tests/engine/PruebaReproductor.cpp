// The scenario player against a clock the test drives.
#include "Escenario.h"
#include "edk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

using edk::TEscenario;
using edk::TEvento;
using edk::TReproductor;

TEscenario Escenario(const char* texto)
{
    TEscenario e;
    EXPECT_TRUE(e.Leer(texto)) << e.Error();
    return e;
}

std::vector<TEvento> Avanzar(TReproductor& r, double ahora)
{
    std::vector<TEvento> salida;
    r.Avanzar(ahora, salida);
    return salida;
}

int Contar(const std::vector<TEvento>& eventos, int tipo)
{
    int n = 0;
    for (const TEvento& e : eventos)
        n += e.Tipo == tipo;
    return n;
}

TEST(Reproductor, EmoStatesComeAtTheSteadyRateOnceTheHeadsetIsOn)
{
    TReproductor r(Escenario("0.5 alta 4\n10 fin\n"), 32, false);
    EXPECT_TRUE(Avanzar(r, 0.49).empty());

    const std::vector<TEvento> alta = Avanzar(r, 0.5);
    ASSERT_EQ(alta.size(), 2u);
    EXPECT_EQ(alta[0].Tipo, EE_UserAdded);
    EXPECT_EQ(alta[0].Usuario, 4u);
    EXPECT_EQ(alta[1].Tipo, EE_EmoStateUpdated);
    EXPECT_EQ(alta[1].Usuario, 4u);
    EXPECT_FLOAT_EQ(alta[1].Estado.Tiempo, 0.5f);

    const std::vector<TEvento> segundo = Avanzar(r, 1.5);
    ASSERT_EQ(segundo.size(), 32u);
    for (std::size_t k = 0; k < segundo.size(); ++k) {
        EXPECT_EQ(segundo[k].Tipo, EE_EmoStateUpdated);
        EXPECT_FLOAT_EQ(segundo[k].Estado.Tiempo, 0.5f + static_cast<float>(k + 1) / 32.0f);
    }
    EXPECT_TRUE(Avanzar(r, 1.5).empty()) << "nothing new without time passing";
}

TEST(Reproductor, ValuesChangeAtTheirMomentBeforeThatMomentsEmoState)
{
    TReproductor r(Escenario("0 alta 0\n"
                             "1 expresiva apretar 0.8\n"
                             "1 senal 1\n"
                             "1 bateria 3 4\n"
                             "1 contactos 2\n"
                             "2 fin\n"),
                   32, false);
    const std::vector<TEvento> eventos = Avanzar(r, 1.0);
    ASSERT_GE(eventos.size(), 3u);
    const edk::TEstadoEmo& antes = eventos[eventos.size() - 2].Estado;
    const edk::TEstadoEmo& ahora = eventos.back().Estado;
    EXPECT_FLOAT_EQ(antes.Tiempo, 31.0f / 32.0f);
    EXPECT_EQ(antes.AccionExpresiva, static_cast<std::uint32_t>(ACC_EXP_NEUTRAL));
    EXPECT_FLOAT_EQ(ahora.Tiempo, 1.0f);
    EXPECT_EQ(ahora.AccionExpresiva, static_cast<std::uint32_t>(ACC_EXP_APRETAR_DIENTES));
    EXPECT_FLOAT_EQ(ahora.PotenciaExpresiva, 0.8f);
    EXPECT_EQ(ahora.Senal, 1);
    EXPECT_EQ(ahora.Bateria, 3);
    EXPECT_EQ(ahora.BateriaMax, 4);
    EXPECT_EQ(ahora.Contactos[0], 2);
    EXPECT_EQ(ahora.Contactos[17], 2);
}

TEST(Reproductor, RampsMoveLinearlyFromTheValueOfTheMoment)
{
    TReproductor r(Escenario("0 alta 0\n"
                             "1 giro 320 -32 en 1\n"
                             "1 cognitiva tirar 1 en 2\n"
                             "1.5 giro 0 0 en 1\n"
                             "5 fin\n"),
                   32, false);
    std::vector<TEvento> eventos = Avanzar(r, 1.25);
    EXPECT_EQ(eventos.back().Estado.GiroX, 80);
    EXPECT_EQ(eventos.back().Estado.GiroY, -8);
    EXPECT_FLOAT_EQ(eventos.back().Estado.PotenciaCognitiva, 0.125f);
    // At 1.5 the second ramp starts from 160 and reaches 0 at 2.5.
    eventos = Avanzar(r, 2.0);
    EXPECT_EQ(eventos.back().Estado.GiroX, 80);
    EXPECT_FLOAT_EQ(eventos.back().Estado.PotenciaCognitiva, 0.5f);
    eventos = Avanzar(r, 4.0);
    EXPECT_EQ(eventos.back().Estado.GiroX, 0);
    EXPECT_FLOAT_EQ(eventos.back().Estado.PotenciaCognitiva, 1.0f);
}

TEST(Reproductor, OtherEventsCarryTheirTypeAndUser)
{
    TReproductor r(Escenario("0 alta 2\n"
                             "0 giroscopio sin-calibrar\n"
                             "0 evento 0x0080\n"
                             "0 evento 0x0003 9\n"
                             "0 giroscopio calibrado\n"
                             "0 baja 2\n"),
                   32, false);
    const std::vector<TEvento> eventos = Avanzar(r, 0);
    ASSERT_EQ(eventos.size(), 6u) << "the headset is off again before the EmoState of 0";
    EXPECT_EQ(eventos[1].Tipo, edk::TipoInternoGiroSinCalibrar);
    EXPECT_EQ(eventos[2].Tipo, EE_ProfileEvent);
    EXPECT_EQ(eventos[2].Usuario, 2u);
    EXPECT_EQ(eventos[3].Tipo, 3);
    EXPECT_EQ(eventos[3].Usuario, 9u);
    EXPECT_EQ(eventos[4].Tipo, edk::TipoInternoGiroCalibrado);
    EXPECT_EQ(eventos[5].Tipo, EE_UserRemoved);
    EXPECT_EQ(eventos[5].Usuario, 2u);
}

// A recording names each EmoState: they come at those moments only, with the
// values of the moment, and with a headset on only.
TEST(Reproductor, MarkedEmoStatesReplaceTheSteadyRate)
{
    TReproductor r(Escenario("0 estado\n0 alta 0\n0.01 estado\n0.02 giro 300 0\n0.02 estado\n0.0201 estado\n"
                             "0.5 baja 0\n0.6 estado\n1 fin\n"),
                   32, false);
    const std::vector<TEvento> eventos = Avanzar(r, 2);
    ASSERT_EQ(eventos.size(), 5u);
    EXPECT_EQ(eventos[0].Tipo, EE_UserAdded);
    const std::vector<float> tiempos = {0.01F, 0.02F, 0.0201F};
    for (std::size_t i = 0; i < tiempos.size(); ++i) {
        EXPECT_EQ(eventos[i + 1].Tipo, EE_EmoStateUpdated);
        EXPECT_FLOAT_EQ(eventos[i + 1].Estado.Tiempo, tiempos[i]);
        EXPECT_EQ(eventos[i + 1].Estado.GiroX, i == 0 ? 0 : 300);
    }
    EXPECT_EQ(eventos[4].Tipo, EE_UserRemoved);
    EXPECT_TRUE(r.Terminado());
}

TEST(Reproductor, ASinglePlayEndsAfterTheLastMomentsEmoState)
{
    TReproductor r(Escenario("0 alta 0\n1 fin\n"), 32, false);
    const std::vector<TEvento> eventos = Avanzar(r, 1);
    EXPECT_EQ(Contar(eventos, EE_EmoStateUpdated), 33);
    EXPECT_FLOAT_EQ(eventos.back().Estado.Tiempo, 1.0f);
    EXPECT_TRUE(r.Terminado());
    EXPECT_TRUE(Avanzar(r, 6).empty());
}

TEST(Reproductor, ALoopStartsEachLapAtTheScenariosLength)
{
    TReproductor r(Escenario("0 alta 0\n1 baja 0\n2 fin\n"), 32, true);
    std::vector<TEvento> eventos;
    for (int paso = 1; paso < 600; ++paso) // almost 6 s in steps of 10 ms
        r.Avanzar(paso / 100.0, eventos);
    EXPECT_FALSE(r.Terminado());
    EXPECT_EQ(Contar(eventos, EE_UserAdded), 3); // 0, 2, 4
    EXPECT_EQ(Contar(eventos, EE_UserRemoved), 3); // 1, 3, 5
    EXPECT_EQ(Contar(eventos, EE_EmoStateUpdated), 3 * 32);
    for (const TEvento& e : eventos)
        if (e.Tipo == EE_EmoStateUpdated) {
            EXPECT_LT(std::fmod(e.Estado.Tiempo, 2.0f), 1.0f) << "EmoStates only while on, at " << e.Estado.Tiempo;
        }
}

TEST(Reproductor, StepSizeOfTheCallerDoesNotChangeTheStream)
{
    const TEscenario e = Escenario("0 alta 0\n0.2 expresiva apretar 0.9 en 0.3\n0.7 giro 100 0\n0.8 baja 0\n");
    TReproductor deUnaVez(e, 32, true);
    TReproductor aPasos(e, 32, true);
    const std::vector<TEvento> todos = Avanzar(deUnaVez, 0.9);
    std::vector<TEvento> poco;
    for (int paso = 0; paso <= 90; ++paso)
        aPasos.Avanzar(paso / 100.0, poco);
    ASSERT_EQ(todos.size(), poco.size());
    for (std::size_t i = 0; i < todos.size(); ++i) {
        EXPECT_EQ(todos[i].Tipo, poco[i].Tipo);
        EXPECT_EQ(todos[i].Estado.Tiempo, poco[i].Estado.Tiempo);
        EXPECT_EQ(todos[i].Estado.PotenciaExpresiva, poco[i].Estado.PotenciaExpresiva);
    }
}

TEST(Reproductor, ACallerFarBehindGetsOnlyTheLastSecondOfEmoStates)
{
    TReproductor r(Escenario("0 alta 0\n5 evento 0x0080\n100 fin\n"), 32, false);
    const std::vector<TEvento> eventos = Avanzar(r, 10);
    EXPECT_EQ(Contar(eventos, EE_UserAdded), 1) << "other events are never dropped";
    EXPECT_EQ(Contar(eventos, EE_ProfileEvent), 1);
    EXPECT_EQ(Contar(eventos, EE_EmoStateUpdated), 33); // 9.0 .. 10.0
    EXPECT_FLOAT_EQ(eventos[2].Estado.Tiempo, 9.0f);
}

// Proximo is what a caller waiting for the next event sleeps until: nothing
// may come before it, and waking only at it must miss nothing.
TEST(Reproductor, NothingComesBeforeTheNextMomentAndWakingThenMissesNothing)
{
    struct Caso {
        const char* Nombre;
        const char* Texto;
        bool EnBucle;
    } casos[] = {
        {"casco puesto", "0.25 alta 1\n0.5 expresiva apretar 0.8\n1 baja 1\n1.5 alta 2\n2 fin\n", false},
        {"sin casco", "0.3 evento 0x0080\n0.9 evento 0x0080\n1.2 fin\n", false},
        {"en bucle", "0 alta 0\n0.4 baja 0\n1 fin\n", true},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.Nombre);
        const TEscenario e = Escenario(caso.Texto);
        TReproductor despierto(e, 32, caso.EnBucle);
        std::vector<TEvento> porMomentos;
        int despertares = 0;
        double momento = despierto.Proximo();
        while (momento <= 3.5 && despertares < 1000) {
            if (momento > 0) {
                EXPECT_TRUE(Avanzar(despierto, std::nextafter(momento, 0.0)).empty()) << "before " << momento;
            }
            despierto.Avanzar(momento, porMomentos);
            ++despertares;
            const double siguiente = despierto.Proximo();
            ASSERT_GT(siguiente, momento);
            momento = siguiente;
        }
        despierto.Avanzar(3.5, porMomentos);
        TReproductor aPasos(e, 32, caso.EnBucle);
        std::vector<TEvento> todos;
        for (int paso = 0; paso <= 3500; ++paso) // every millisecond
            aPasos.Avanzar(paso / 1000.0, todos);
        ASSERT_EQ(porMomentos.size(), todos.size());
        for (std::size_t i = 0; i < todos.size(); ++i) {
            EXPECT_EQ(porMomentos[i].Tipo, todos[i].Tipo);
            EXPECT_EQ(porMomentos[i].Estado.Tiempo, todos[i].Estado.Tiempo);
        }
        EXPECT_EQ(std::isinf(despierto.Proximo()), !caso.EnBucle) << "a single play is over by 3.5 s";
    }
}

TEST(Reproductor, HostileClocksNeitherHangNorFlood)
{
    TReproductor r(Escenario("0 alta 0\n0.01 baja 0\n0.02 alta 0\n"), 32, true);
    std::vector<TEvento> eventos;
    r.Avanzar(std::numeric_limits<double>::quiet_NaN(), eventos);
    r.Avanzar(-5, eventos);
    EXPECT_TRUE(eventos.empty());
    r.Avanzar(1e300, eventos);
    EXPECT_LT(eventos.size(), 200u);
    eventos.clear();
    r.Avanzar(std::numeric_limits<double>::infinity(), eventos);
    EXPECT_LT(eventos.size(), 200u);
    EXPECT_FALSE(r.Terminado());
}

} // namespace
