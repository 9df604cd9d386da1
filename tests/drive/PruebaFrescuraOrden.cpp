// The freshness of a command: tables of what happened, with times, and what
// every output must hold afterwards. Each row is a case where an old command
// could otherwise reach the vehicle.
#include "FrescuraOrden.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

namespace {

enum TSuceso {
    sIniciar, // a run starts
    sTerminar,
    sPaso, // the loop runs
    sColaVacia,
    sEvento, // an engine event read
    sDecidir,
    sDetener,
    sPerderEnlace,
    sSilencio,
    sPulsar,
    sSoltar,
    sGiroManual,
    sPerderVentana,
    sModoManual,
    sModoCasco,
    sSalida,
};

struct TPaso {
    TSuceso Suceso;
    std::int64_t Ahora = 0;
    TDireccion Direccion = dirNinguna;
    TGiro Giro = giroNinguno;
};

struct TCaso {
    const char* Nombre;
    std::vector<TPaso> Pasos;
    std::int64_t Consulta; // when Vigente is asked
    TOrdenVigente Esperada;
};

void PrintTo(const TCaso& caso, std::ostream* salida)
{
    *salida << caso.Nombre;
}

void Aplicar(TFrescuraOrden& frescura, const TPaso& paso)
{
    switch (paso.Suceso) {
    case sIniciar:
        frescura.CambiarModo(false);
        frescura.IniciarEjecucion(paso.Ahora);
        break;
    case sTerminar:
        frescura.TerminarEjecucion();
        break;
    case sPaso:
        frescura.Paso(paso.Ahora);
        break;
    case sColaVacia:
        frescura.ColaVacia();
        break;
    case sEvento:
        frescura.EventoLeido(paso.Ahora);
        break;
    case sDecidir:
        frescura.Decidir(paso.Direccion, paso.Giro);
        break;
    case sDetener:
        frescura.Detener();
        break;
    case sPerderEnlace:
        frescura.PerderEnlace();
        break;
    case sSilencio:
        frescura.Silencio(paso.Ahora);
        break;
    case sPulsar:
        frescura.PulsarFlecha(paso.Direccion);
        break;
    case sSoltar:
        frescura.SoltarFlecha();
        break;
    case sGiroManual:
        frescura.FijarGiroManual(paso.Giro);
        break;
    case sPerderVentana:
        frescura.PerderVentana();
        break;
    case sModoManual:
        frescura.CambiarModo(true);
        break;
    case sModoCasco:
        frescura.CambiarModo(false);
        break;
    case sSalida:
        frescura.CambiarSalida();
        break;
    }
}

// A pass of the loop that reads one event and decides.
std::vector<TPaso> Decide(std::int64_t ahora, TDireccion direccion, TGiro giro = giroNinguno)
{
    return {{sPaso, ahora}, {sEvento, ahora}, {sDecidir, ahora, direccion, giro}};
}

std::vector<TPaso> operator+(std::vector<TPaso> a, const std::vector<TPaso>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<TPaso> AvanzaConDerecha = std::vector<TPaso> {{sIniciar, 0}} + Decide(0, dirAvance, giroDerecha);
const TOrdenVigente Parada {};
const TOrdenVigente SoloDerecha {dirNinguna, giroDerecha};
const TOrdenVigente AvanceDerecha {dirAvance, giroDerecha};

class Frescura : public testing::TestWithParam<TCaso> { };

TEST_P(Frescura, SoloLoVigenteLlegaAlVehiculo)
{
    const TCaso& caso = GetParam();
    TFrescuraOrden frescura;
    for (const TPaso& paso : caso.Pasos)
        Aplicar(frescura, paso);
    EXPECT_EQ(frescura.Vigente(caso.Consulta), caso.Esperada);
}

const TCaso Casos[] = {
    // Headset mode: the loop deciding.
    {"el bucle decide", AvanzaConDerecha, 100, AvanceDerecha},
    {"bucle parado mas de la pausa maxima: sin avance, el giro queda", AvanzaConDerecha, 101, SoloDerecha},
    {"proceso parado y reanudado: lo primero no es el avance viejo", AvanzaConDerecha, 60000, SoloDerecha},
    {"tras la pausa lo encolado no conduce",
     AvanzaConDerecha + Decide(500, dirAvance, giroDerecha) + Decide(501, dirAvance, giroDerecha), 502, SoloDerecha},
    {"tras la pausa conduce el primero despues de vaciar la cola",
     AvanzaConDerecha + Decide(500, dirAvance, giroDerecha) + std::vector<TPaso> {{sColaVacia}}
         + Decide(510, dirAvance, giroDerecha),
     510, AvanceDerecha},
    {"la pausa deja el avance apagado aunque el bucle vuelva",
     AvanzaConDerecha + std::vector<TPaso> {{sPaso, 300}, {sColaVacia}}, 300, SoloDerecha},
    {"silencio del motor con el bucle vivo",
     AvanzaConDerecha + std::vector<TPaso> {{sPaso, 50}, {sPaso, 100}, {sPaso, 150}, {sPaso, 200}, {sPaso, 250}}, 1000,
     SoloDerecha},
    {"regla del silencio: el avance no vuelve",
     AvanzaConDerecha + std::vector<TPaso> {{sSilencio, 1000}, {sPaso, 1000}, {sEvento, 1000}}, 1000, SoloDerecha},
    {"recentrado: se para antes de esperar, el giro queda", AvanzaConDerecha + std::vector<TPaso> {{sDetener}}, 0,
     SoloDerecha},
    {"recentrado: el estado en mano no conduce",
     AvanzaConDerecha + std::vector<TPaso> {{sDetener}} + Decide(2000, dirAvance, giroDerecha), 2000, SoloDerecha},
    {"enlace perdido: todo apagado", AvanzaConDerecha + std::vector<TPaso> {{sPerderEnlace}}, 0, Parada},
    {"enlace recuperado: lo que trae no conduce",
     AvanzaConDerecha + std::vector<TPaso> {{sPerderEnlace}} + Decide(10, dirAvance, giroDerecha), 10, SoloDerecha},
    {"fin de la ejecucion: todo apagado", AvanzaConDerecha + std::vector<TPaso> {{sTerminar}}, 0, Parada},
    {"modo casco sin ejecucion", {{sModoCasco}}, 0, Parada},
    {"salir del modo casco", AvanzaConDerecha + std::vector<TPaso> {{sModoManual}}, 0, Parada},
    // Manual mode: an arrow held on a live window.
    {"flecha pulsada",
     {{sModoManual}, {sGiroManual, 0, dirNinguna, giroIzquierda}, {sPulsar, 0, dirAvance}},
     5000,
     {dirAvance, giroIzquierda}},
    {"flecha soltada: el giro queda",
     {{sModoManual}, {sGiroManual, 0, dirNinguna, giroIzquierda}, {sPulsar, 0, dirAvance}, {sSoltar}},
     0,
     {dirNinguna, giroIzquierda}},
    {"ventana perdida con la flecha pulsada: todo apagado",
     {{sModoManual}, {sGiroManual, 0, dirNinguna, giroIzquierda}, {sPulsar, 0, dirAvance}, {sPerderVentana}},
     0,
     Parada},
    {"pulsar de nuevo tras perder la ventana",
     {{sModoManual}, {sPulsar, 0, dirAvance}, {sPerderVentana}, {sPulsar, 0, dirRetroceso}},
     0,
     {dirRetroceso, giroNinguno}},
    {"el giro manual no vuelve tras un cambio de modo",
     {{sModoManual}, {sGiroManual, 0, dirNinguna, giroIzquierda}, {sModoCasco}, {sModoManual}, {sPulsar, 0, dirAvance}},
     0,
     {dirAvance, giroNinguno}},
    {"salida conmutada: el giro manual se suelta",
     {{sModoManual}, {sGiroManual, 0, dirNinguna, giroDerecha}, {sSalida}},
     0,
     Parada},
};

INSTANTIATE_TEST_SUITE_P(Casos, Frescura, testing::ValuesIn(Casos), [](const testing::TestParamInfo<TCaso>& parametro) {
    std::string nombre = parametro.param.Nombre;
    for (char& c : nombre)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return nombre;
});

// What the caller reports and what it may do with a state in hand.
TEST(FrescuraAvisos, ElSilencioYElEnlacePerdidoSeAvisanUnaVez)
{
    TFrescuraOrden frescura;
    for (const TPaso& paso : AvanzaConDerecha)
        Aplicar(frescura, paso);
    EXPECT_FALSE(frescura.Silencio(TFrescuraOrden::SilencioMaximo - 1));
    EXPECT_TRUE(frescura.Silencio(TFrescuraOrden::SilencioMaximo));
    EXPECT_FALSE(frescura.Silencio(TFrescuraOrden::SilencioMaximo + 1));
    EXPECT_FALSE(frescura.AlDia());

    EXPECT_TRUE(frescura.PerderEnlace());
    EXPECT_FALSE(frescura.PerderEnlace());
    frescura.EventoLeido(2000);
    EXPECT_TRUE(frescura.PerderEnlace());
}

TEST(FrescuraAvisos, SoloUnaColaVaciaDevuelveLosEstadosAlDia)
{
    TFrescuraOrden frescura;
    frescura.CambiarModo(false);
    frescura.IniciarEjecucion(0);
    EXPECT_TRUE(frescura.AlDia());
    frescura.Paso(TFrescuraOrden::PausaMaxima);
    EXPECT_TRUE(frescura.AlDia()) << "a pass exactly PausaMaxima later is not a pause";
    frescura.Paso(2 * TFrescuraOrden::PausaMaxima + 1);
    EXPECT_FALSE(frescura.AlDia());
    frescura.Paso(2 * TFrescuraOrden::PausaMaxima + 2);
    EXPECT_FALSE(frescura.AlDia());
    frescura.ColaVacia();
    EXPECT_TRUE(frescura.AlDia());
}

} // namespace
