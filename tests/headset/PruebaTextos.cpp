// The texts for the log: result codes, event names, action names, the state
// line, the profile report and the vital detections.
#include "ConexionCasco.h"
#include "MotorPrueba.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TextosTest : public testing::Test {
protected:
    void SetUp() override { motor.Reiniciar(); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    // A connection whose last call kept the given code.
    void ConCodigo(TConexion& conexion, int codigo)
    {
        motor.FijarResultado("EE_EngineConnect", codigo);
        conexion.Conectar();
    }

    TMotorPrueba& motor = MotorPrueba();
};

TEST_F(TextosTest, TextoErrorGivesCodeAndMessage)
{
    const std::pair<int, const char16_t*> casos[] = {
        {0x0000, u"0000:Sin errores"},
        {0x0001, u"0001:Error interno"},
        {0x0101, u"0257:Perfil de usuario no válido"},
        {0x0102, u"0258:Perfil no asociado con un usuario"},
        {0x0200, u"0512:No es posible obtener datos de EEG"},
        {0x0300, u"0768:El almacén suministrado no tiene suficiente espacio"},
        {0x0301, u"0769:El parámetro está fuera de rango"},
        {0x0302, u"0770:Uno de los parámetros no es válido"},
        {0x0303, u"0771:El parámetro está bloqueado por una detección y no puede modificarse en este momento"},
        {0x0304, u"0772:La acción a entrenar no es válida"},
        {0x0305, u"0773:El control a entrenar no es válido"},
        {0x0306, u"0774:Uno de los campos del vector no es válido"},
        {0x0307, u"0775:El vector contiene más tipos de acciones que las permitidas"},
        {0x0308, u"0776:La firma entrenada no se encuenta disponible para su uso"},
        {0x0309, u"0777:Error del sistema de ficheros"},
        {0x0400, u"1024:Identificador de usuario no válido"},
        {0x0500, u"1280:El motor Emotiv no se encuentra inicializado"},
        {0x0501, u"1281:Se ha perdido la conexión remota con el motor Emotiv"},
        {0x0502, u"1282:No se puede realizar la conexión remota"},
        {0x0600, u"1536:No hay nuevos eventos en este momento"},
        {0x0700, u"1792:Giróscopo no calibrado"},
        {0x0800, u"2048:La operación ha fallado debido a la optimización"},
        {0x0900, u"2304:Error reservado"},
        {-1, u"-0001:Error no catalogado"},
        {0x0A00, u"2560:Error no catalogado"},
        {0x0103, u"0259:Error no catalogado"},
        {INT32_MIN, u"-2147483648:Error no catalogado"},
    };
    for (auto [codigo, texto] : casos) {
        TConexionCasco conexion;
        ConCodigo(conexion, codigo);
        EXPECT_EQ(conexion.TextoError(), QString::fromUtf16(texto)) << codigo;
    }
}

TEST_F(TextosTest, TextoEventoNamesTheLastEventType)
{
    const std::pair<int, const char*> casos[] = {
        {0x0000, "EE_UnknownEvent"},
        {0x0001, "EE_EmulatorError"},
        {0x0002, "EE_ReservedEvent"},
        {0x0010, "EE_UserAdded"},
        {0x0020, "EE_UserRemoved"},
        {0x0040, "EE_EmoStateUpdated"},
        {0x0080, "EE_ProfileEvent"},
        {0x0100, "EE_CognitivEvent"},
        {0x0200, "EE_ExpressivEvent"},
        {0x0400, "EE_InternalStateChanged"},
        {0x07F0, "EE_AllEvent"},
        {0x0003, "----"},
        {0x0050, "----"},
        {-1, "----"},
    };
    TConexionCasco conexion;
    EXPECT_EQ(conexion.TextoEvento(), QStringLiteral("EE_UnknownEvent"));
    for (auto [tipo, nombre] : casos) {
        motor.EncolarEvento(tipo, 1);
        ASSERT_TRUE(conexion.LeerEvento());
        EXPECT_EQ(conexion.TextoEvento(), QString::fromLatin1(nombre)) << tipo;
    }
}

TEST_F(TextosTest, ActionNamesFromTheLowestBitUp)
{
    struct {
        std::uint32_t Palabra;
        const char16_t* Cognitivas;
        const char16_t* Expresivas;
    } casos[] = {
        {0x0005, u"COG.NEUTRAL TIRAR ", u"EXP.NEUTRAL GUIÑO IZQ. "},
        {0x0101, u"COG.NEUTRAL ROT.DERECHA ", u"EXP.NEUTRAL APRETAR DIENTES "},
        {0x4000, u"", u""},
        {0, u"", u""},
        {0x0F00, u"ROT.DERECHA ROT.SETNIDO RELOJ ROT.SENTIDO CONTRARELOJ ROT.DIRECTA ",
         u"APRETAR DIENTES REIR MEJILLA IZQ. MEJILLA DER. "},
        {0x00FA, u"EMPUJAR ARRIBA ABAJO IZQUIERDA DERECHA ROT.IZQUIERDA ",
         u"PARPADEAR GUIÑO DER. MIRAR IZQ-DER SUBIR ENTRECEJO FRUNCIR ENTRECEJO SONREIR "},
        {0xFFFFF000, u"ROT.INVERSA DESVANECER ", u""},
    };
    for (const auto& caso : casos) {
        EXPECT_EQ(TConexion::TextoAccionesCognitivas(caso.Palabra), QString::fromUtf16(caso.Cognitivas))
            << caso.Palabra;
        EXPECT_EQ(TConexion::TextoAccionesExpresivas(caso.Palabra), QString::fromUtf16(caso.Expresivas))
            << caso.Palabra;
    }
}

TEST_F(TextosTest, TextoEstadoJoinsTheLastValues)
{
    TConexionCasco fresca;
    EXPECT_EQ(fresca.TextoEstado(), QStringLiteral("0.000 Sen:0 Bat:0/0 Acc:0001 (0.00) Exp:0001 (0.00) Gir:0"));

    TEstadoPrueba estado;
    estado.Tiempo = 12.5f;
    estado.Senal = 2;
    estado.Bateria = 3;
    estado.BateriaMax = 4;
    estado.AccionCognitiva = ACC_COG_TIRAR;
    estado.PotenciaCognitiva = 0.25f;
    estado.AccionExpresiva = ACC_EXP_NEUTRAL;
    estado.PotenciaExpresiva = 0;
    motor.EncolarEstado(estado);
    motor.EncolarGiro(-7);
    TConexionCasco conexion;
    ASSERT_TRUE(conexion.LeerEvento() && conexion.LeerEstado());
    TGiro giro;
    conexion.LeerGiro(giro);
    EXPECT_EQ(conexion.TextoEstado(), QStringLiteral("12.500 Sen:2 Bat:3/4 Acc:0004 (0.25) Exp:0001 (0.00) Gir:-7"));

    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    EXPECT_EQ(conexion.TextoEstado(), QStringLiteral("12,500 Sen:2 Bat:3/4 Acc:0004 (0,25) Exp:0001 (0,00) Gir:-7"));

    // The expression code is written in decimal.
    estado.AccionExpresiva = ACC_EXP_APRETAR_DIENTES;
    estado.PotenciaExpresiva = 0.875f;
    motor.EncolarEstado(estado);
    ASSERT_TRUE(conexion.LeerEvento() && conexion.LeerEstado());
    EXPECT_TRUE(conexion.TextoEstado().contains(QStringLiteral(" Exp:0256 (0,88) ")));
    EXPECT_EQ(conexion.Resultado(), 0);
}

TEST_F(TextosTest, TextoPerfilWithEveryQueryAnswered)
{
    motor.CognitivasEntrenadas = 0x0005;
    motor.CognitivasActivas = 0x0004;
    motor.Sensibilidades = {7, 1, 2, 3};
    motor.NivelEntrenamiento = 0.4567f;
    motor.ExpresivasEntrenadas = 0x0101;
    motor.Umbral = 640;
    motor.EncolarEvento(EE_UserAdded, 5);
    TConexionCasco conexion;
    ASSERT_TRUE(conexion.LeerEvento());
    motor.BorrarLlamadas();
    EXPECT_EQ(conexion.TextoPerfil(), QStringLiteral("Firmas Cognitivas Entrenadas: COG.NEUTRAL TIRAR \n"
                                                     "Acciones Cognitivas Activas: TIRAR \n"
                                                     "Sesibilidad Retroceso: 7\n"
                                                     "Nivel de Entrenamiento Cognitivo: 45.67%\n"
                                                     "Firmas Expresivas Entrenadas: EXP.NEUTRAL APRETAR DIENTES \n"
                                                     "Sensibilidad Avance: 640"));
    EXPECT_EQ(motor.Llamadas(), (std::vector<std::string> {
                                    "EE_CognitivGetTrainedSignatureActions(5)",
                                    "EE_CognitivGetActiveActions(5)",
                                    "EE_CognitivGetActionSensitivity(5)",
                                    "EE_CognitivGetOverallSkillRating(5)",
                                    "EE_ExpressivGetTrainedSignatureActions(5)",
                                    "EE_ExpressivGetThreshold(5,256,0)",
                                }));
}

TEST_F(TextosTest, TextoPerfilShowsTheSensitivityOfPullsSlot)
{
    struct {
        unsigned Activas;
        int Codigo; // of EE_CognitivGetActiveActions
        const char* Linea; // null: left out
    } casos[] = {
        {ACC_COG_NEUTRAL | ACC_COG_EMPUJAR | ACC_COG_TIRAR, 0, "Sesibilidad Retroceso: 1\n"},
        {ACC_COG_NEUTRAL | ACC_COG_TIRAR | ACC_COG_ARRIBA, 0, "Sesibilidad Retroceso: 7\n"},
        {ACC_COG_NEUTRAL | ACC_COG_EMPUJAR, 0, nullptr},
        {ACC_COG_NEUTRAL | ACC_COG_TIRAR, EDK_PERFIL_SIN_USUARIO, nullptr},
    };
    motor.Sensibilidades = {7, 1, 2, 3};
    TConexionCasco conexion;
    for (const auto& caso : casos) {
        motor.CognitivasActivas = caso.Activas;
        motor.FijarResultado("EE_CognitivGetActiveActions", caso.Codigo);
        const QString texto = conexion.TextoPerfil();
        if (caso.Linea)
            EXPECT_TRUE(texto.contains(QString::fromUtf8(caso.Linea))) << texto.toStdString();
        else
            EXPECT_FALSE(texto.contains(QStringLiteral("Sesibilidad Retroceso"))) << texto.toStdString();
        EXPECT_TRUE(texto.contains(QStringLiteral("Nivel de Entrenamiento Cognitivo: "))) << caso.Activas;
    }
}

TEST_F(TextosTest, TextoPerfilLeavesOutOnlyTheRefusedValues)
{
    const char* consultas[] = {
        "EE_CognitivGetTrainedSignatureActions",  "EE_CognitivGetActiveActions",
        "EE_CognitivGetActionSensitivity",        "EE_CognitivGetOverallSkillRating",
        "EE_ExpressivGetTrainedSignatureActions", "EE_ExpressivGetThreshold",
    };
    motor.CognitivasEntrenadas = 0x0004;
    motor.CognitivasActivas = 0x0001;
    motor.ExpresivasEntrenadas = 0x0100;
    motor.Sensibilidades = {3, 0, 0, 0};
    motor.Umbral = 200;
    for (const char* consulta : consultas)
        motor.FijarResultado(consulta, EDK_USUARIO_NO_VALIDO);
    TConexionCasco conexion;
    EXPECT_EQ(conexion.TextoPerfil(), QStringLiteral("Firmas Cognitivas Entrenadas: \n"
                                                     "Acciones Cognitivas Activas: \n"
                                                     "Firmas Expresivas Entrenadas: "));
    EXPECT_EQ(conexion.Resultado(), 0);

    motor.FijarResultado("EE_CognitivGetActiveActions", 0);
    motor.FijarResultado("EE_ExpressivGetThreshold", 0);
    EXPECT_EQ(conexion.TextoPerfil(), QStringLiteral("Firmas Cognitivas Entrenadas: \n"
                                                     "Acciones Cognitivas Activas: COG.NEUTRAL \n"
                                                     "Firmas Expresivas Entrenadas: \n"
                                                     "Sensibilidad Avance: 200"));
}

TEST_F(TextosTest, TextoOptimizacionListsTheVitalDetections)
{
    TConexionCasco conexion;
    ASSERT_TRUE(conexion.ActivarOptimizacion());
    motor.BorrarLlamadas();
    EXPECT_EQ(conexion.TextoOptimizacion(), QStringLiteral("COG.NEUTRAL TIRAR  EXP.NEUTRAL APRETAR DIENTES "));
    EXPECT_EQ(motor.Llamadas(), (std::vector<std::string> {"EE_OptimizationGetVitalAlgorithm(P1,2)",
                                                           "EE_OptimizationGetVitalAlgorithm(P1,0)"}));

    // The second query refused: the cognitive part alone, code kept.
    motor.EncolarResultado("EE_OptimizationGetVitalAlgorithm", 0);
    motor.EncolarResultado("EE_OptimizationGetVitalAlgorithm", EDK_FALLO_OPTIMIZACION);
    EXPECT_EQ(conexion.TextoOptimizacion(), QStringLiteral("COG.NEUTRAL TIRAR "));
    EXPECT_EQ(conexion.Resultado(), EDK_FALLO_OPTIMIZACION);

    // The first refused: nothing, and no second query.
    motor.BorrarLlamadas();
    motor.EncolarResultado("EE_OptimizationGetVitalAlgorithm", EDK_PARAMETRO_NO_VALIDO);
    EXPECT_EQ(conexion.TextoOptimizacion(), QString());
    EXPECT_EQ(conexion.Resultado(), EDK_PARAMETRO_NO_VALIDO);
    EXPECT_EQ(motor.Cuenta("EE_OptimizationGetVitalAlgorithm"), 1);
}

} // namespace
