// Profile loading, the two drive sensitivities, the training level and the
// gyro of the current user.
#include "ConexionCasco.h"
#include "EscalasCasco.h"
#include "MotorPrueba.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using TLlamadas = std::vector<std::string>;

class AjustesTest : public testing::Test {
protected:
    void SetUp() override
    {
        motor.Reiniciar();
        // Every per-user call passes the user of the last event read.
        motor.EncolarEvento(EE_UserAdded, 7);
        conexion = std::make_unique<TConexionCasco>();
        ASSERT_TRUE(conexion->LeerEvento());
        motor.BorrarLlamadas();
    }
    TMotorPrueba& motor = MotorPrueba();
    std::unique_ptr<TConexionCasco> conexion;
};

TEST_F(AjustesTest, SingleCallSettersKeepTheEngineCode)
{
    struct {
        const char* Funcion;
        std::function<bool(TConexion&)> Operacion;
        const char* Llamada;
    } casos[] = {
        {"EE_LoadUserProfile", [](TConexion& c) { return c.CargarPerfil("perfil\xF1.emu"); },
         "EE_LoadUserProfile(7,\"perfil\xF1.emu\")"},
        {"EE_ExpressivSetThreshold", [](TConexion& c) { return c.FijarSensibilidadAvance(640); },
         "EE_ExpressivSetThreshold(7,256,0,640)"},
        {"EE_HeadsetGyroRezero", [](TConexion& c) { return c.CentrarGiroscopio(); }, "EE_HeadsetGyroRezero(7)"},
    };
    for (const auto& caso : casos) {
        for (int codigo : {0, int(EDK_PERFIL_NO_VALIDO), int(EDK_GIROSCOPO_NO_CALIBRADO)}) {
            motor.BorrarLlamadas();
            motor.FijarResultado(caso.Funcion, codigo);
            EXPECT_EQ(caso.Operacion(*conexion), codigo == 0) << caso.Funcion;
            EXPECT_EQ(conexion->Resultado(), codigo);
            EXPECT_EQ(motor.Llamadas(), TLlamadas {caso.Llamada});
        }
    }
}

TEST_F(AjustesTest, NullProfileNameIsRefusedWithoutAnEngineCall)
{
    EXPECT_FALSE(conexion->CargarPerfil(nullptr));
    EXPECT_EQ(conexion->Resultado(), EDK_PARAMETRO_NO_VALIDO);
    EXPECT_TRUE(motor.Llamadas().empty());
}

TEST_F(AjustesTest, SensitivitiesAreReadWithinTheirRanges)
{
    struct {
        int Motor;
        int Avance;
        int Retroceso;
    } casos[] = {
        {1200, 1000, 9}, {-300, 300, 9}, {0, 0, 1}, {12, 12, 9}, {5, 5, 5}, {-4, 4, 4}, {INT_MIN, 1000, 9},
    };
    motor.CognitivasActivas = ACC_COG_NEUTRAL | ACC_COG_TIRAR;
    for (const auto& caso : casos) {
        motor.Umbral = caso.Motor;
        motor.Sensibilidades = {caso.Motor, 2, 3, 4};
        EXPECT_EQ(conexion->SensibilidadAvance(), caso.Avance) << caso.Motor;
        EXPECT_EQ(conexion->SensibilidadRetroceso(), caso.Retroceso) << caso.Motor;
    }
    EXPECT_EQ(motor.LlamadasDe("EE_ExpressivGetThreshold").back(), "EE_ExpressivGetThreshold(7,256,0)");
    EXPECT_EQ(motor.LlamadasDe("EE_CognitivGetActiveActions"),
              TLlamadas(std::size(casos), "EE_CognitivGetActiveActions(7)"));
    EXPECT_EQ(motor.LlamadasDe("EE_CognitivGetActionSensitivity").back(), "EE_CognitivGetActionSensitivity(7)");

    // Refused: the code is kept and the answer is the bottom of the range.
    motor.Umbral = 500;
    motor.Sensibilidades = {5, 5, 5, 5};
    motor.FijarResultado("EE_ExpressivGetThreshold", EDK_USUARIO_NO_VALIDO);
    motor.FijarResultado("EE_CognitivGetActionSensitivity", EDK_PARAMETRO_BLOQUEADO);
    EXPECT_EQ(conexion->SensibilidadAvance(), 0);
    EXPECT_EQ(conexion->Resultado(), EDK_USUARIO_NO_VALIDO);
    EXPECT_EQ(conexion->SensibilidadRetroceso(), 1);
    EXPECT_EQ(conexion->Resultado(), EDK_PARAMETRO_BLOQUEADO);
}

// The engine numbers the four slots by the active cognitive actions other
// than neutral, lowest bit first: pull's slot depends on what else is active.
TEST_F(AjustesTest, BackwardSensitivityIsPullsSlotAmongTheActiveActions)
{
    struct {
        const char* Perfil;
        unsigned Activas;
        int Ranura;
    } casos[] = {
        {"pull alone", ACC_COG_TIRAR, 0},
        {"neutral+pull", ACC_COG_NEUTRAL | ACC_COG_TIRAR, 0},
        {"push+pull", ACC_COG_NEUTRAL | ACC_COG_EMPUJAR | ACC_COG_TIRAR, 1},
        {"pull+lift", ACC_COG_NEUTRAL | ACC_COG_TIRAR | ACC_COG_ARRIBA, 0},
        {"push, no pull", ACC_COG_NEUTRAL | ACC_COG_EMPUJAR, SinRanura},
        {"neutral only", ACC_COG_NEUTRAL, SinRanura},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.Perfil);
        motor.CognitivasActivas = caso.Activas;
        motor.Sensibilidades = {2, 3, 4, 6};
        motor.BorrarLlamadas();
        const bool activa = caso.Ranura != SinRanura;

        // Without pull the bar rests in the middle, the engine's neutral setting.
        EXPECT_EQ(conexion->SensibilidadRetroceso(), activa ? motor.Sensibilidades[caso.Ranura] : 5);
        EXPECT_EQ(conexion->AccionTirarInactiva(), !activa);

        EXPECT_EQ(conexion->FijarSensibilidadRetroceso(7), activa);
        EXPECT_EQ(conexion->AccionTirarInactiva(), !activa);
        EXPECT_EQ(conexion->Resultado(), 0);
        std::array<int, NumRanurasCognitivas> esperadas = {2, 3, 4, 6};
        if (activa)
            esperadas[caso.Ranura] = 7;
        EXPECT_EQ(motor.Sensibilidades, esperadas);
        EXPECT_EQ(motor.Cuenta("EE_CognitivSetActionSensitivity"), activa ? 1 : 0);
        // Nothing is read that the answer does not need.
        EXPECT_EQ(motor.Cuenta("EE_CognitivGetActionSensitivity"), activa ? 2 : 0);
    }
}

TEST_F(AjustesTest, BackwardSensitivityRefusedByTheEngineKeepsItsCode)
{
    struct {
        const char* Funcion;
        int Codigo;
        int Escrituras;
    } casos[] = {
        {"EE_CognitivGetActiveActions", EDK_PERFIL_SIN_USUARIO, 0},
        {"EE_CognitivGetActionSensitivity", EDK_USUARIO_NO_VALIDO, 0},
        {"EE_CognitivSetActionSensitivity", EDK_FUERA_DE_RANGO, 1},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.Funcion);
        motor.BorrarLlamadas();
        motor.CognitivasActivas = ACC_COG_NEUTRAL | ACC_COG_TIRAR;
        motor.Sensibilidades = {3, 4, 5, 6};
        motor.FijarResultado(caso.Funcion, caso.Codigo);
        EXPECT_FALSE(conexion->FijarSensibilidadRetroceso(12));
        EXPECT_EQ(conexion->Resultado(), caso.Codigo);
        EXPECT_FALSE(conexion->AccionTirarInactiva());
        EXPECT_EQ(motor.Cuenta("EE_CognitivSetActionSensitivity"), caso.Escrituras);
        EXPECT_EQ(motor.Sensibilidades, (std::array<int, 4> {3, 4, 5, 6}));
        if (caso.Escrituras == 0) {
            EXPECT_EQ(conexion->SensibilidadRetroceso(), 1);
            EXPECT_EQ(conexion->Resultado(), caso.Codigo);
        }
        motor.FijarResultado(caso.Funcion, 0);
    }
}

TEST_F(AjustesTest, NivelEntrenamientoLeavesTheCodeAlone)
{
    motor.NivelEntrenamiento = 0.4567f;
    EXPECT_FLOAT_EQ(conexion->NivelEntrenamiento(), 0.4567f);
    EXPECT_EQ(motor.Llamadas(), TLlamadas {"EE_CognitivGetOverallSkillRating(7)"});

    motor.FijarResultado("EE_HeadsetGyroRezero", EDK_GIROSCOPO_NO_CALIBRADO);
    conexion->CentrarGiroscopio();
    for (int codigo : {int(EDK_PERFIL_SIN_USUARIO), int(EDK_USUARIO_NO_VALIDO)}) {
        motor.FijarResultado("EE_CognitivGetOverallSkillRating", codigo);
        EXPECT_EQ(conexion->NivelEntrenamiento(), 0.0f);
        EXPECT_EQ(conexion->Resultado(), EDK_GIROSCOPO_NO_CALIBRADO);
    }
    motor.FijarResultado("EE_CognitivGetOverallSkillRating", 0);
    conexion->NivelEntrenamiento();
    EXPECT_EQ(conexion->Resultado(), EDK_GIROSCOPO_NO_CALIBRADO);
}

TEST_F(AjustesTest, LeerGiroTurnsOnlyPastTheLimitAndAwayFromThePrevious)
{
    struct {
        int Anterior;
        int Actual;
        TGiro Giro;
    } casos[] = {
        {40, 60, giroDerecha},   {70, 60, giroNinguno},   {0, 50, giroNinguno},      {0, 51, giroDerecha},
        {0, -51, giroIzquierda}, {-80, -60, giroNinguno}, {-40, -60, giroIzquierda}, {0, -50, giroNinguno},
        {60, 60, giroNinguno},   {-100, 60, giroDerecha}, {100, -60, giroIzquierda}, {0, INT_MIN, giroIzquierda},
    };
    for (const auto& caso : casos) {
        motor.EncolarGiro(caso.Anterior);
        motor.EncolarGiro(caso.Actual, 999);
        TGiro giro = giroDerecha;
        conexion->LeerGiro(giro);
        conexion->LeerGiro(giro);
        EXPECT_EQ(giro, caso.Giro) << caso.Anterior << " -> " << caso.Actual;
    }
    EXPECT_EQ(motor.LlamadasDe("EE_HeadsetGetGyroDelta").back(), "EE_HeadsetGetGyroDelta(7)");
}

TEST_F(AjustesTest, LeerGiroReadsNothingAfterAFailedCall)
{
    motor.EncolarGiro(300);
    TGiro giro = giroNinguno;
    conexion->LeerGiro(giro);
    ASSERT_EQ(conexion->IntensidadGiro(), 10);

    // A refused re-zero blocks the next read: no call, the change stays.
    motor.FijarResultado("EE_HeadsetGyroRezero", EDK_GIROSCOPO_NO_CALIBRADO);
    EXPECT_FALSE(conexion->CentrarGiroscopio());
    EXPECT_EQ(conexion->TextoError(), QStringLiteral("1792:Giróscopo no calibrado"));
    motor.BorrarLlamadas();
    motor.EncolarGiro(-200);
    giro = giroDerecha;
    conexion->LeerGiro(giro);
    EXPECT_EQ(giro, giroNinguno);
    EXPECT_TRUE(motor.Llamadas().empty());
    EXPECT_EQ(conexion->IntensidadGiro(), 10);
    EXPECT_EQ(conexion->Resultado(), EDK_GIROSCOPO_NO_CALIBRADO);

    // Once a call succeeds, reads resume.
    motor.FijarResultado("EE_HeadsetGyroRezero", 0);
    ASSERT_TRUE(conexion->CentrarGiroscopio());
    conexion->LeerGiro(giro);
    EXPECT_EQ(giro, giroIzquierda);

    // A failed read zeroes the change.
    motor.EncolarResultado("EE_HeadsetGetGyroDelta", EDK_GIROSCOPO_NO_CALIBRADO);
    motor.EncolarGiro(-300);
    giro = giroIzquierda;
    conexion->LeerGiro(giro);
    EXPECT_EQ(giro, giroNinguno);
    EXPECT_EQ(conexion->Resultado(), EDK_GIROSCOPO_NO_CALIBRADO);
    EXPECT_EQ(conexion->IntensidadGiro(), 0);
    EXPECT_TRUE(conexion->TextoEstado().endsWith(QStringLiteral(" Gir:0")));
}

TEST_F(AjustesTest, IntensidadGiroRoundsHalfToEvenAndCaps)
{
    const std::pair<int, int> casos[] = {
        {0, 0},   {15, 0},   {16, 1},   {45, 2},    {75, 2},       {-100, 3},
        {-45, 2}, {299, 10}, {400, 10}, {-400, 10}, {INT_MIN, 10}, {INT_MAX, 10},
    };
    for (auto [giroX, intensidad] : casos) {
        motor.EncolarGiro(giroX);
        TGiro giro;
        conexion->LeerGiro(giro);
        EXPECT_EQ(conexion->IntensidadGiro(), intensidad) << giroX;
    }
}

// One reading for the drive decision: the detection of the last EmoState,
// then one gyro read whose change gives both the turn and its magnitude.
TEST_F(AjustesTest, LeerLecturaDaLaDeteccionYElGiroDeUnaSolaLecturaDelGiroscopio)
{
    TEstadoPrueba estado;
    estado.AccionExpresiva = ACC_EXP_APRETAR_DIENTES;
    estado.PotenciaExpresiva = 0.8f;
    motor.EncolarEstado(estado, 7);
    ASSERT_TRUE(conexion->LeerEvento());
    ASSERT_TRUE(conexion->LeerEstado());
    motor.EncolarGiro(150);
    motor.EncolarGiro(-300);
    const TLectura lectura = conexion->LeerLectura();
    EXPECT_EQ(lectura.Direccion, dirAvance);
    EXPECT_EQ(lectura.Potencia, 8u);
    EXPECT_EQ(lectura.Giro, giroDerecha);
    EXPECT_EQ(lectura.MagnitudGiro, 5u);
    EXPECT_EQ(motor.Cuenta("EE_HeadsetGetGyroDelta"), 1);
}

} // namespace
