// The drive decision fed by a real connection over the scriptable engine:
// tables of full readings (detections and gyro changes) to outputs.
#include "ConexionCasco.h"
#include "EstadoConduccion.h"
#include "MotorPrueba.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using TMuestra = std::array<std::uint16_t, 6>;

// One EmoState's detections.
struct TDeteccion {
    unsigned AccionCognitiva = ACC_COG_NEUTRAL;
    float PotenciaCognitiva = 0;
    unsigned AccionExpresiva = ACC_EXP_NEUTRAL;
    float PotenciaExpresiva = 0;
};

const TDeteccion Quieto {};
const TDeteccion Apretar08 {ACC_COG_NEUTRAL, 0, ACC_EXP_APRETAR_DIENTES, 0.8f};

class PruebaConduccion : public ::testing::Test {
protected:
    void SetUp() override { NuevaConexion(); }

    // A fresh engine, connection and drive state, as at the start of a run.
    void NuevaConexion()
    {
        FConexion.reset();
        MotorPrueba().Reiniciar();
        FConexion = std::make_unique<TConexionCasco>();
        FEstado.Iniciar();
    }

    // One full reading: the engine delivers the EmoState and the gyro change,
    // the connection reads them, the decision takes them in.
    void Leer(int dx, const TDeteccion& deteccion = Quieto, unsigned umbralAvRet = 5, unsigned umbralGiro = 5)
    {
        TEstadoPrueba estado;
        estado.AccionCognitiva = deteccion.AccionCognitiva;
        estado.PotenciaCognitiva = deteccion.PotenciaCognitiva;
        estado.AccionExpresiva = deteccion.AccionExpresiva;
        estado.PotenciaExpresiva = deteccion.PotenciaExpresiva;
        MotorPrueba().EncolarEstado(estado, 1);
        MotorPrueba().EncolarGiro(dx);
        ASSERT_TRUE(FConexion->LeerEvento());
        ASSERT_TRUE(FConexion->LeerEstado());
        FEstado.LecturaCompleta(*FConexion, umbralAvRet, umbralGiro);
    }

    std::unique_ptr<TConexionCasco> FConexion;
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
    EXPECT_EQ(s.Muestra, (TMuestra {10, 0, 0, 0, 0, 0}));
}

TEST_F(PruebaConduccion, ElPrimerEventoSaleDeLosValoresDeInicio)
{
    EsperarInicio(FEstado.Salidas());
    EXPECT_EQ(FEstado.Contador, 0u);
    EXPECT_FALSE(FEstado.Liberado);

    // Iniciar starts afresh even after a latched, driving state.
    for (int i = 0; i < 10; ++i)
        Leer(0, Apretar08);
    Leer(150, Apretar08);
    ASSERT_TRUE(FEstado.GiroFijado);
    FEstado.Iniciar();
    EsperarInicio(FEstado.Salidas());
    EXPECT_EQ(FEstado.Potencia, 0u);
    EXPECT_EQ(FEstado.MagnitudGiro, 0u);
    EXPECT_EQ(FEstado.Contador, 0u);
    EXPECT_FALSE(FEstado.Liberado);
}

struct TCasoAvRet {
    const char* Nombre;
    TDeteccion Deteccion;
    unsigned Umbral;
    int Dx;
    TDireccion Direccion;
    unsigned Potencia;
    bool Activo;
    TDireccion Enviada;
    TMuestra Muestra;
};

TEST_F(PruebaConduccion, AvanceYRetrocesoSeDecidenEnCadaLecturaContraElUmbral)
{
    const TCasoAvRet casos[] = {
        {"apretar en el umbral",
         {ACC_COG_NEUTRAL, 0, ACC_EXP_APRETAR_DIENTES, 0.5f},
         5,
         0,
         dirAvance,
         5,
         true,
         dirAvance,
         {0, 0, 5, 0, 0, 0}},
        {"apretar uno por debajo",
         {ACC_COG_NEUTRAL, 0, ACC_EXP_APRETAR_DIENTES, 0.4f},
         5,
         0,
         dirAvance,
         4,
         false,
         dirNinguna,
         {0, 0, 4, 0, 0, 0}},
        {"tirar gana a apretar",
         {ACC_COG_TIRAR, 0.7f, ACC_EXP_APRETAR_DIENTES, 1.0f},
         7,
         0,
         dirRetroceso,
         7,
         true,
         dirRetroceso,
         {0, 0, 0, 7, 0, 0}},
        {"umbral 10 con potencia plena",
         {ACC_COG_TIRAR, 1.0f, ACC_EXP_NEUTRAL, 0},
         10,
         0,
         dirRetroceso,
         10,
         true,
         dirRetroceso,
         {0, 0, 0, 10, 0, 0}},
        {"neutro con umbral 0: activo, sin orden", Quieto, 0, 0, dirNeutral, 0, true, dirNinguna, {0, 10, 0, 0, 0, 0}},
        {"nada con umbral 0: activo, sin orden",
         {ACC_COG_EMPUJAR, 0.9f, ACC_EXP_SONREIR, 0.9f},
         0,
         0,
         dirNinguna,
         0,
         true,
         dirNinguna,
         {10, 0, 0, 0, 0, 0}},
        {"neutro con umbral 1", Quieto, 1, 0, dirNeutral, 0, false, dirNinguna, {0, 10, 0, 0, 0, 0}},
        // The turn values of the sample follow the gyro.
        {"giro a la derecha en la muestra", Apretar08, 5, 150, dirAvance, 8, true, dirAvance, {0, 0, 8, 0, 0, 5}},
        {"giro a la izquierda en la muestra", Quieto, 5, -300, dirNeutral, 0, false, dirNinguna, {0, 10, 0, 0, 10, 0}},
    };
    for (const TCasoAvRet& caso : casos) {
        SCOPED_TRACE(caso.Nombre);
        NuevaConexion();
        Leer(caso.Dx, caso.Deteccion, caso.Umbral);
        const TSalidasConduccion s = FEstado.Salidas();
        EXPECT_EQ(s.Direccion, caso.Direccion);
        EXPECT_EQ(FEstado.Potencia, caso.Potencia);
        EXPECT_EQ(s.AvRetActivo, caso.Activo);
        EXPECT_EQ(s.DireccionEnviada, caso.Enviada);
        EXPECT_EQ(s.GiroEnviado, giroNinguno) << "a first reading never latches";
        EXPECT_EQ(s.Muestra, caso.Muestra);
    }
}

// One full reading of a turn scenario and the state it must leave.
struct TPaso {
    int Dx;
    TGiro Giro; // detected
    bool Liberado;
    TGiro Fijada; // latched turn, giroNinguno when free
    std::uint32_t Contador;
};

struct TEscenario {
    const char* Nombre;
    std::vector<TPaso> Pasos;
};

// n readings with the given changes in turn, starting at Contador desde+1.
void Anadir(std::vector<TPaso>& pasos, int n, std::vector<int> dxs, std::vector<TGiro> giros, bool liberado,
            TGiro fijada, std::uint32_t desde)
{
    for (int i = 0; i < n; ++i)
        pasos.push_back({dxs[i % dxs.size()], giros[i % giros.size()], liberado, fijada,
                         desde + static_cast<std::uint32_t>(i) + 1});
}

std::vector<TEscenario> Escenarios()
{
    std::vector<TEscenario> escenarios;
    {
        // The eleventh reading latches; a release needs the head still once
        // at a reading past the lock-out; after each change ten readings
        // cannot change the latch.
        TEscenario e {"fijar en la undecima, soltar tras quietud", {}};
        auto& p = e.Pasos;
        for (int i = 1; i <= 10; ++i)
            p.push_back({160 + i, giroDerecha, false, giroNinguno, std::uint32_t(i)});
        p.push_back({200, giroDerecha, false, giroDerecha, 0});
        Anadir(p, 10, {0, 150}, {giroNinguno, giroDerecha}, false, giroDerecha, 0);
        p.push_back({300, giroDerecha, false, giroDerecha, 11}); // not yet released
        p.push_back({0, giroNinguno, true, giroDerecha, 12});
        p.push_back({150, giroDerecha, true, giroNinguno, 0}); // released
        Anadir(p, 10, {0, 150}, {giroNinguno, giroDerecha}, true, giroNinguno, 0);
        p.push_back({0, giroNinguno, true, giroNinguno, 11});
        p.push_back({150, giroDerecha, true, giroDerecha, 0}); // latched again
        escenarios.push_back(e);
    }
    {
        // With a left turn latched, right movements leave it; only a left one
        // releases it.
        TEscenario e {"el otro lado no suelta", {}};
        auto& p = e.Pasos;
        Anadir(p, 10, {0}, {giroNinguno}, false, giroNinguno, 0);
        p.push_back({-150, giroIzquierda, false, giroIzquierda, 0});
        Anadir(p, 10, {0}, {giroNinguno}, false, giroIzquierda, 0);
        p.push_back({150, giroDerecha, false, giroIzquierda, 11});
        p.push_back({0, giroNinguno, true, giroIzquierda, 12});
        p.push_back({300, giroDerecha, true, giroIzquierda, 13});
        p.push_back({-150, giroIzquierda, true, giroNinguno, 0});
        escenarios.push_back(e);
    }
    {
        // A decelerating turn reads as no turn with a high magnitude: it
        // cannot latch but counts as the head being still, so a turn latched
        // later can be released as soon as the lock-out ends.
        TEscenario e {"giro que frena", {}};
        auto& p = e.Pasos;
        p.push_back({300, giroDerecha, false, giroNinguno, 1});
        Anadir(p, 9, {300}, {giroNinguno}, false, giroNinguno, 1);
        p.push_back({290, giroNinguno, true, giroNinguno, 11});
        p.push_back({150, giroNinguno, true, giroNinguno, 12});
        p.push_back({0, giroNinguno, true, giroNinguno, 13});
        p.push_back({150, giroDerecha, true, giroDerecha, 0});
        Anadir(p, 10, {0}, {giroNinguno}, true, giroDerecha, 0);
        p.push_back({150, giroDerecha, true, giroNinguno, 0});
        escenarios.push_back(e);
    }
    return escenarios;
}

TEST_F(PruebaConduccion, ElGiroSeFijaYSeSueltaConElMismoMovimiento)
{
    for (const TEscenario& escenario : Escenarios()) {
        NuevaConexion();
        for (std::size_t i = 0; i < escenario.Pasos.size(); ++i) {
            const TPaso& paso = escenario.Pasos[i];
            SCOPED_TRACE(std::string(escenario.Nombre) + ", lectura " + std::to_string(i + 1) + ", dx "
                         + std::to_string(paso.Dx));
            Leer(paso.Dx);
            ASSERT_EQ(FEstado.Giro, paso.Giro);
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

TEST_F(PruebaConduccion, ElUmbralDeGiroSeAlcanzaPorIgualdad)
{
    struct TCaso {
        unsigned Umbral;
        int Dx;
        TGiro Fijada;
    };
    const TCaso casos[] = {
        {5, 150, giroDerecha}, {6, 150, giroNinguno}, {10, 300, giroDerecha},
        {0, 60, giroDerecha},  {0, 0, giroNinguno},   {3, -90, giroIzquierda},
    };
    for (const TCaso& caso : casos) {
        SCOPED_TRACE("umbral " + std::to_string(caso.Umbral) + ", dx " + std::to_string(caso.Dx));
        NuevaConexion();
        for (int i = 0; i < 10; ++i)
            Leer(0, Quieto, 5, caso.Umbral);
        Leer(caso.Dx, Quieto, 5, caso.Umbral);
        EXPECT_EQ(FEstado.DireccionFijada, caso.Fijada);
        EXPECT_EQ(FEstado.GiroFijado, caso.Fijada != giroNinguno);
    }
}

TEST_F(PruebaConduccion, UnEstadoRechazadoQuitaLaMarchaYConservaElGiro)
{
    for (int i = 0; i < 10; ++i)
        Leer(0, Apretar08);
    Leer(150, Apretar08);
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
        EXPECT_EQ(s.Muestra, (TMuestra {10, 0, 0, 0, 0, 5})) << "the gyro part is kept";
        EXPECT_EQ(FEstado.Potencia, 8u);
        EXPECT_TRUE(FEstado.AvRetActivo);
        EXPECT_EQ(FEstado.Contador, 0u) << "rejected states do not count";
    }

    Leer(0, Apretar08);
    s = FEstado.Salidas();
    EXPECT_EQ(s.DireccionEnviada, dirAvance);
    EXPECT_EQ(s.GiroEnviado, giroDerecha);
    EXPECT_EQ(FEstado.Contador, 1u);
}

} // namespace
