// The drive decision as a function of the readings it is given: tables of
// full readings (detected drive and power, turn and magnitude) to the state
// and the outputs of every event.
#include "EstadoConduccion.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace {

const TLectura Quieto {.Direccion = dirNeutral};
const TLectura Avance8 {.Direccion = dirAvance, .Potencia = 8};

class Conduccion : public testing::Test {
protected:
    void Leer(const TLectura& lectura, unsigned umbralAvRet = 5, unsigned umbralGiro = 5)
    {
        FEstado.LecturaCompleta(lectura, umbralAvRet, umbralGiro);
    }

    // Ten still readings, then one turning right: the turn latches.
    void FijarDerechaAvanzando()
    {
        for (int i = 0; i < 10; ++i)
            Leer(Avance8);
        Leer({.Direccion = dirAvance, .Potencia = 8, .Giro = giroDerecha, .MagnitudGiro = 5});
        ASSERT_TRUE(FEstado.GiroFijado);
    }

    TEstadoConduccion FEstado;
};

void EsperarInicio(const TSalidasConduccion& s)
{
    EXPECT_EQ(s.Direccion, dirNinguna);
    EXPECT_EQ(s.GiroMostrado, giroNinguno);
    EXPECT_FALSE(s.AvRetActivo);
    EXPECT_FALSE(s.GiroFijado);
    EXPECT_EQ(s.DireccionEnviada, dirNinguna);
    EXPECT_EQ(s.GiroEnviado, giroNinguno);
    EXPECT_EQ(s.Muestra, (TMuestraGrafica {10, 0, 0, 0, 0, 0}));
}

TEST_F(Conduccion, ElPrimerEventoSaleDeLosValoresDeInicio)
{
    EsperarInicio(FEstado.Salidas());
    EXPECT_EQ(FEstado.Contador, 0u);
    EXPECT_FALSE(FEstado.Liberado);

    // Iniciar starts afresh even after a latched, driving state.
    FijarDerechaAvanzando();
    FEstado.Iniciar();
    EsperarInicio(FEstado.Salidas());
    EXPECT_EQ(FEstado.Potencia, 0u);
    EXPECT_EQ(FEstado.MagnitudGiro, 0u);
    EXPECT_EQ(FEstado.Contador, 0u);
    EXPECT_FALSE(FEstado.Liberado);
}

TEST_F(Conduccion, AvanceYRetrocesoSeDecidenEnCadaLecturaContraElUmbral)
{
    struct TCaso {
        const char* Nombre;
        TLectura Lectura;
        unsigned Umbral;
        bool Activo;
        TDireccion Enviada;
        TMuestraGrafica Muestra;
    };
    const TCaso casos[] = {
        {.Nombre = "avance en el umbral",
         .Lectura = {.Direccion = dirAvance, .Potencia = 5},
         .Umbral = 5,
         .Activo = true,
         .Enviada = dirAvance,
         .Muestra = {0, 0, 5, 0, 0, 0}},
        {.Nombre = "avance uno por debajo",
         .Lectura = {.Direccion = dirAvance, .Potencia = 4},
         .Umbral = 5,
         .Activo = false,
         .Enviada = dirNinguna,
         .Muestra = {0, 0, 4, 0, 0, 0}},
        {.Nombre = "retroceso en el umbral",
         .Lectura = {.Direccion = dirRetroceso, .Potencia = 7},
         .Umbral = 7,
         .Activo = true,
         .Enviada = dirRetroceso,
         .Muestra = {0, 0, 0, 7, 0, 0}},
        {.Nombre = "umbral 10 con potencia plena",
         .Lectura = {.Direccion = dirRetroceso, .Potencia = 10},
         .Umbral = 10,
         .Activo = true,
         .Enviada = dirRetroceso,
         .Muestra = {0, 0, 0, 10, 0, 0}},
        {.Nombre = "neutro con umbral 0: activo, sin orden",
         .Lectura = Quieto,
         .Umbral = 0,
         .Activo = true,
         .Enviada = dirNinguna,
         .Muestra = {0, 10, 0, 0, 0, 0}},
        {.Nombre = "nada con umbral 0: activo, sin orden",
         .Lectura = {.Direccion = dirNinguna},
         .Umbral = 0,
         .Activo = true,
         .Enviada = dirNinguna,
         .Muestra = {10, 0, 0, 0, 0, 0}},
        {.Nombre = "neutro con umbral 1",
         .Lectura = Quieto,
         .Umbral = 1,
         .Activo = false,
         .Enviada = dirNinguna,
         .Muestra = {0, 10, 0, 0, 0, 0}},
        // The turn values of the sample follow the gyro, not the latch.
        {.Nombre = "giro a la derecha en la muestra",
         .Lectura = {.Direccion = dirAvance, .Potencia = 8, .Giro = giroDerecha, .MagnitudGiro = 5},
         .Umbral = 5,
         .Activo = true,
         .Enviada = dirAvance,
         .Muestra = {0, 0, 8, 0, 0, 5}},
        {.Nombre = "giro a la izquierda en la muestra",
         .Lectura = {.Direccion = dirNeutral, .Giro = giroIzquierda, .MagnitudGiro = 10},
         .Umbral = 5,
         .Activo = false,
         .Enviada = dirNinguna,
         .Muestra = {0, 10, 0, 0, 10, 0}},
    };
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.Nombre);
        FEstado.Iniciar();
        Leer(caso.Lectura, caso.Umbral);
        const TSalidasConduccion s = FEstado.Salidas();
        EXPECT_EQ(s.Direccion, caso.Lectura.Direccion);
        EXPECT_EQ(FEstado.Potencia, caso.Lectura.Potencia);
        EXPECT_EQ(s.AvRetActivo, caso.Activo);
        EXPECT_EQ(s.DireccionEnviada, caso.Enviada);
        EXPECT_EQ(s.GiroEnviado, giroNinguno) << "a first reading never latches";
        EXPECT_EQ(s.Muestra, caso.Muestra);
    }
}

// One full reading of a turn scenario and the state it must leave.
struct TPaso {
    TGiro Giro; // detected
    std::uint32_t Magnitud;
    bool Liberado;
    TGiro Fijada; // latched turn, giroNinguno when free
    std::uint32_t Contador;
};

struct TEscenario {
    const char* Nombre;
    std::vector<TPaso> Pasos;
};

// n readings taking the given turns and magnitudes in turn, starting at
// Contador desde+1.
void Anadir(std::vector<TPaso>& pasos, int n, const std::vector<std::pair<TGiro, std::uint32_t>>& giros, bool liberado,
            TGiro fijada, std::uint32_t desde)
{
    for (int i = 0; i < n; ++i) {
        const auto& [giro, magnitud] = giros[std::size_t(i) % giros.size()];
        pasos.push_back({giro, magnitud, liberado, fijada, desde + std::uint32_t(i) + 1});
    }
}

std::vector<TEscenario> Escenarios()
{
    const std::pair<TGiro, std::uint32_t> quieto {giroNinguno, 0};
    const std::pair<TGiro, std::uint32_t> derecha {giroDerecha, 5};
    std::vector<TEscenario> escenarios;
    {
        // The eleventh reading latches; a release needs the head still once
        // at a reading past the lock-out; after each change ten readings
        // cannot change the latch.
        TEscenario e {"fijar en la undecima, soltar tras quietud", {}};
        auto& p = e.Pasos;
        Anadir(p, 10, {{giroDerecha, 6}}, false, giroNinguno, 0);
        p.push_back({giroDerecha, 7, false, giroDerecha, 0});
        Anadir(p, 10, {quieto, derecha}, false, giroDerecha, 0);
        p.push_back({giroDerecha, 10, false, giroDerecha, 11}); // not yet released
        p.push_back({giroNinguno, 0, true, giroDerecha, 12});
        p.push_back({giroDerecha, 5, true, giroNinguno, 0}); // released
        Anadir(p, 10, {quieto, derecha}, true, giroNinguno, 0);
        p.push_back({giroNinguno, 0, true, giroNinguno, 11});
        p.push_back({giroDerecha, 5, true, giroDerecha, 0}); // latched again
        escenarios.push_back(e);
    }
    {
        // With a left turn latched, right movements leave it; only a left one
        // releases it.
        TEscenario e {"el otro lado no suelta", {}};
        auto& p = e.Pasos;
        Anadir(p, 10, {quieto}, false, giroNinguno, 0);
        p.push_back({giroIzquierda, 5, false, giroIzquierda, 0});
        Anadir(p, 10, {quieto}, false, giroIzquierda, 0);
        p.push_back({giroDerecha, 5, false, giroIzquierda, 11});
        p.push_back({giroNinguno, 0, true, giroIzquierda, 12});
        p.push_back({giroDerecha, 10, true, giroIzquierda, 13});
        p.push_back({giroIzquierda, 5, true, giroNinguno, 0});
        escenarios.push_back(e);
    }
    {
        // A decelerating turn reads as no turn with a high magnitude: it
        // cannot latch but counts as the head being still, so a turn latched
        // later can be released as soon as the lock-out ends.
        TEscenario e {"giro que frena", {}};
        auto& p = e.Pasos;
        p.push_back({giroDerecha, 10, false, giroNinguno, 1});
        Anadir(p, 9, {{giroNinguno, 10}}, false, giroNinguno, 1);
        p.push_back({giroNinguno, 10, true, giroNinguno, 11});
        p.push_back({giroNinguno, 5, true, giroNinguno, 12});
        p.push_back({giroNinguno, 0, true, giroNinguno, 13});
        p.push_back({giroDerecha, 5, true, giroDerecha, 0});
        Anadir(p, 10, {quieto}, true, giroDerecha, 0);
        p.push_back({giroDerecha, 5, true, giroNinguno, 0});
        escenarios.push_back(e);
    }
    return escenarios;
}

TEST_F(Conduccion, ElGiroSeFijaYSeSueltaConElMismoMovimiento)
{
    for (const TEscenario& escenario : Escenarios()) {
        FEstado.Iniciar();
        for (std::size_t i = 0; i < escenario.Pasos.size(); ++i) {
            const TPaso& paso = escenario.Pasos[i];
            SCOPED_TRACE(std::string(escenario.Nombre) + ", lectura " + std::to_string(i + 1));
            Leer({.Direccion = dirNeutral, .Giro = paso.Giro, .MagnitudGiro = paso.Magnitud});
            EXPECT_EQ(FEstado.Liberado, paso.Liberado);
            EXPECT_EQ(FEstado.DireccionFijada, paso.Fijada);
            EXPECT_EQ(FEstado.Contador, paso.Contador);

            // The latch is what is sent and shown; a turn only detected is
            // shown but not sent.
            const TSalidasConduccion s = FEstado.Salidas();
            EXPECT_EQ(s.GiroFijado, paso.Fijada != giroNinguno);
            EXPECT_EQ(s.GiroEnviado, paso.Fijada);
            EXPECT_EQ(s.GiroMostrado, paso.Fijada != giroNinguno ? paso.Fijada : paso.Giro);
        }
    }
}

TEST_F(Conduccion, ElUmbralDeGiroSeAlcanzaPorIgualdad)
{
    struct TCaso {
        unsigned Umbral;
        TGiro Giro;
        std::uint32_t Magnitud;
        TGiro Fijada;
    };
    const TCaso casos[] = {
        {.Umbral = 5, .Giro = giroDerecha, .Magnitud = 5, .Fijada = giroDerecha},
        {.Umbral = 6, .Giro = giroDerecha, .Magnitud = 5, .Fijada = giroNinguno},
        {.Umbral = 10, .Giro = giroDerecha, .Magnitud = 10, .Fijada = giroDerecha},
        {.Umbral = 0, .Giro = giroDerecha, .Magnitud = 2, .Fijada = giroDerecha},
        {.Umbral = 0, .Giro = giroNinguno, .Magnitud = 0, .Fijada = giroNinguno},
        {.Umbral = 3, .Giro = giroIzquierda, .Magnitud = 3, .Fijada = giroIzquierda},
    };
    for (const TCaso& caso : casos) {
        SCOPED_TRACE("umbral " + std::to_string(caso.Umbral) + ", magnitud " + std::to_string(caso.Magnitud));
        FEstado.Iniciar();
        for (int i = 0; i < 10; ++i)
            Leer(Quieto, 5, caso.Umbral);
        Leer({.Direccion = dirNeutral, .Giro = caso.Giro, .MagnitudGiro = caso.Magnitud}, 5, caso.Umbral);
        EXPECT_EQ(FEstado.DireccionFijada, caso.Fijada);
        EXPECT_EQ(FEstado.GiroFijado, caso.Fijada != giroNinguno);
    }
}

TEST_F(Conduccion, UnEstadoRechazadoQuitaLaMarchaYConservaElGiro)
{
    FijarDerechaAvanzando();
    TSalidasConduccion s = FEstado.Salidas();
    ASSERT_EQ(s.DireccionEnviada, dirAvance);
    ASSERT_EQ(s.GiroEnviado, giroDerecha);

    for (int i = 0; i < 2; ++i) {
        FEstado.Rechazar();
        s = FEstado.Salidas();
        EXPECT_EQ(s.Direccion, dirNinguna);
        EXPECT_EQ(s.DireccionEnviada, dirNinguna);
        EXPECT_TRUE(s.GiroFijado);
        EXPECT_EQ(s.GiroEnviado, giroDerecha);
        EXPECT_EQ(s.GiroMostrado, giroDerecha);
        EXPECT_EQ(s.Muestra, (TMuestraGrafica {10, 0, 0, 0, 0, 5})) << "the gyro part is kept";
        EXPECT_EQ(FEstado.Potencia, 8u);
        EXPECT_TRUE(FEstado.AvRetActivo);
        EXPECT_EQ(FEstado.Contador, 0u) << "rejected states do not count";
    }

    Leer(Avance8);
    s = FEstado.Salidas();
    EXPECT_EQ(s.DireccionEnviada, dirAvance);
    EXPECT_EQ(s.GiroEnviado, giroDerecha);
    EXPECT_EQ(FEstado.Contador, 1u);
}

} // namespace

// A state read while catching up after a pause is shown as detected, but an
// old head movement neither latches, releases nor restarts the lock-out.
TEST_F(Conduccion, UnaLecturaAtrasadaNoCambiaElGiroFijado)
{
    const TLectura derecha {.Direccion = dirAvance, .Potencia = 8, .Giro = giroDerecha, .MagnitudGiro = 9};
    for (int i = 0; i < 11; ++i)
        FEstado.LecturaAtrasada(derecha, 5);
    EXPECT_FALSE(FEstado.GiroFijado);
    EXPECT_EQ(FEstado.Contador, 0u);
    EXPECT_EQ(FEstado.Salidas().GiroEnviado, giroNinguno);
    EXPECT_EQ(FEstado.Salidas().GiroMostrado, giroDerecha) << "shown as detected";
    EXPECT_EQ(FEstado.Salidas().DireccionEnviada, dirAvance) << "the caller withholds it";

    FijarDerechaAvanzando();
    for (int i = 0; i < 20; ++i)
        FEstado.LecturaAtrasada(i % 2 ? Quieto : derecha, 5);
    EXPECT_TRUE(FEstado.GiroFijado);
    EXPECT_EQ(FEstado.Salidas().GiroEnviado, giroDerecha);
}
