// Every engine error code on every engine call the program makes, over the
// scriptable test engine: the run neither crashes nor hangs, a failure the
// program reports names its code, the engine's handles are all freed, and the
// vehicle is left with the all-off byte.
#include "DialogosPrueba.h"
#include "Formato.h"
#include "VentanaPrograma.h"

#include <QSlider>
#include <algorithm>

namespace {

// When the failure starts: before "Conectar" (calls made only while
// connecting) or once the vehicle is driving forward.
enum class TFase { Conexion, Marcha };

struct TLlamada {
    const char* Funcion;
    TFase Fase;
    int Motor; // 0 EmoEngine, 1 EmoComposer
    bool Informa; // a failure is reported in the log with its code
};

std::ostream& operator<<(std::ostream& salida, const TLlamada& llamada)
{
    return salida << llamada.Funcion;
}

// Every EE_ call of the program that answers a result code.
const TLlamada Llamadas[] = {
    {"EE_EngineConnect", TFase::Conexion, 0, true},
    {"EE_EngineRemoteConnect", TFase::Conexion, 1, true},
    {"EE_OptimizationEnable", TFase::Conexion, 1, true},
    {"EE_OptimizationGetVitalAlgorithm", TFase::Conexion, 1, false},
    {"EE_OptimizationSetVitalAlgorithm", TFase::Conexion, 1, true},
    {"EE_EngineGetNextEvent", TFase::Marcha, 1, true},
    {"EE_EmoEngineEventGetType", TFase::Marcha, 1, false},
    {"EE_EmoEngineEventGetUserId", TFase::Marcha, 1, false},
    {"EE_EmoEngineEventGetEmoState", TFase::Marcha, 1, false},
    {"EE_HeadsetGetGyroDelta", TFase::Marcha, 1, false},
    {"EE_HeadsetGyroRezero", TFase::Marcha, 1, true},
    {"EE_LoadUserProfile", TFase::Marcha, 1, true},
    {"EE_CognitivGetOverallSkillRating", TFase::Marcha, 1, false},
    {"EE_CognitivGetActionSensitivity", TFase::Marcha, 1, true},
    {"EE_CognitivSetActionSensitivity", TFase::Marcha, 1, true},
    {"EE_CognitivGetTrainedSignatureActions", TFase::Marcha, 1, false},
    {"EE_CognitivGetActiveActions", TFase::Marcha, 1, false},
    {"EE_ExpressivGetThreshold", TFase::Marcha, 1, false},
    {"EE_ExpressivSetThreshold", TFase::Marcha, 1, true},
    {"EE_ExpressivGetTrainedSignatureActions", TFase::Marcha, 1, false},
    {"EE_OptimizationDisable", TFase::Marcha, 1, false},
    {"EE_EngineDisconnect", TFase::Marcha, 1, true},
};

// Known codes of every kind, success, and one the engine never documents.
const int Codigos[] = {0x0000, 0x0001, 0x0101, 0x0301, 0x0302, 0x0309, 0x0400, 0x0500, 0x0501, 0x0600, 0x0700, 0x7FFF};

class FallosCodigosMotor : public VentanaPrograma, public testing::WithParamInterface<TLlamada> { };

TEST_P(FallosCodigosMotor, LaEjecucionTerminaConElVehiculoParadoYElErrorDicho)
{
    const TLlamada& llamada = GetParam();
    for (const int codigo : Codigos) {
        SCOPED_TRACE(testing::Message() << "code 0x" << std::hex << codigo);
        MotorPrueba().Reiniciar();
        // Pull active, so that the backward sensitivity reaches the engine.
        MotorPrueba().CognitivasActivas = ACC_COG_NEUTRAL | ACC_COG_TIRAR;
        Crear(std::make_unique<TDialogosGrabados>(Ruta(QStringLiteral("perfil.emu"))));
        ModoCasco(llamada.Motor);
        ActivarSalida();
        LimpiarRegistro();
        const std::size_t previos = FGrabacion.Valores().size();
        if (llamada.Fase == TFase::Conexion)
            MotorPrueba().FijarResultado(llamada.Funcion, codigo);
        MotorPrueba().EncolarEvento(EE_UserAdded);
        MotorPrueba().EncolarEstado(EstadoApretando(0.8f));

        // Once driving (or at once, when the engine drives nothing): the
        // failure begins, then every request that reaches the engine: a
        // profile, a gyro re-zero, both sensitivities, two more EmoStates
        // and an event of another kind.
        int etapa = 0;
        int bombeos = 0;
        std::size_t bytesAlFallar = 0;
        QString estadoTrasFallo;
        Ejecutar([&] {
            ++bombeos;
            if (etapa == 1 && bombeos == 5)
                estadoTrasFallo = TextoEstado();
            if (etapa == 0 && (MotorPrueba().EventosPendientes() == 0 || bombeos > 50)) {
                etapa = 1;
                bombeos = 0;
                bytesAlFallar = FGrabacion.Valores().size();
                if (llamada.Fase == TFase::Marcha)
                    MotorPrueba().FijarResultado(llamada.Funcion, codigo);
                Ui().ActionCargaPerfil->trigger();
                Ui().ActionCentrarCasco->trigger();
                Ui().TrackBarAvance->setValue(Ui().TrackBarAvance->value() == 100 ? 200 : 100);
                Ui().TrackBarRetroceso->setValue(Ui().TrackBarRetroceso->value() == 3 ? 4 : 3);
                MotorPrueba().EncolarEstado(EstadoApretando(0.8f));
                MotorPrueba().EncolarEvento(EE_ProfileEvent);
                MotorPrueba().EncolarEstado(EstadoApretando(0.8f));
                return false;
            }
            return etapa == 1 && ((MotorPrueba().EventosPendientes() == 0 && bombeos > 3) || bombeos > 100);
        });

        // Ended, released, and the vehicle stopped.
        EXPECT_FALSE(FVentana->Conectado());
        EXPECT_TRUE(Ui().ActionConectar->isVisible());
        EXPECT_TRUE(MotorPrueba().TodoLiberado());
        EXPECT_TRUE(MotorPrueba().Anomalias().empty());
        const std::vector<unsigned> bytes = BytesDesde(previos);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(bytes.back(), 0u);
        // A failure in the middle of the run found the vehicle going forward.
        if (llamada.Fase == TFase::Marcha) {
            ASSERT_GT(bytesAlFallar, previos);
            EXPECT_EQ(FGrabacion.Valores()[bytesAlFallar - 1], 0x01u);
        }
        // A lost link stops the vehicle at once, before the end of the run.
        if (llamada.Fase == TFase::Marcha && std::string(llamada.Funcion) == "EE_EngineGetNextEvent" && codigo != 0
            && codigo != EDK_SIN_EVENTOS) {
            const std::vector<unsigned> tras = BytesDesde(bytesAlFallar);
            EXPECT_EQ(tras, (std::vector<unsigned> {0, 0}));
            EXPECT_EQ(estadoTrasFallo, QStringLiteral("Error"));
        }

        const QString prefijo = QStringLiteral("E ") + FormatearNumero(codigo, u"0000") + u':';
        const std::vector<QString> registro = Registro();
        const auto conCodigo = std::count_if(registro.begin(), registro.end(),
                                             [&](const QString& linea) { return linea.startsWith(prefijo); });
        if (codigo == 0 || (codigo == EDK_SIN_EVENTOS && std::string(llamada.Funcion) == "EE_EngineGetNextEvent")) {
            EXPECT_EQ(conCodigo, 0);
        } else if (llamada.Informa) {
            EXPECT_GE(conCodigo, 1);
        }
        FVentana.reset();
    }
}

INSTANTIATE_TEST_SUITE_P(CadaLlamada, FallosCodigosMotor, testing::ValuesIn(Llamadas),
                         [](const testing::TestParamInfo<TLlamada>& caso) { return std::string(caso.param.Funcion); });

} // namespace
