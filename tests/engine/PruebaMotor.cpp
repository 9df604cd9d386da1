// The engine through its C API, called the way the connection classes call
// it, on the process's one engine with a clock the test drives.
#include "CascoSimulado.h"
#include "Escenario.h"
#include "Motor.h"
#include "Protocolo.h"
#include "edk.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Reloj = std::chrono::steady_clock;

class Motor : public testing::Test {
protected:
    static inline Reloj::time_point Ahora {};

    void SetUp() override
    {
        Ahora = Reloj::time_point {} + std::chrono::hours(1);
        edk::MotorGlobal().FijarReloj([] { return Ahora; });
        FEvento = EE_EmoEngineEventCreate();
        FEstado = EE_EmoStateCreate();
    }

    void TearDown() override
    {
        EE_OptimizationDisable();
        EE_EngineDisconnect();
        EE_EmoStateFree(FEstado);
        EE_EmoEngineEventFree(FEvento);
        edk::MotorGlobal().FijarReloj({});
        for (const std::string& ruta : FFicheros)
            std::remove(ruta.c_str());
    }

    static void Pasar(double segundos)
    {
        Ahora += std::chrono::duration_cast<Reloj::duration>(std::chrono::duration<double>(segundos));
    }

    // Connects to a simulated headset playing 'texto' once.
    static void ConectarEscenario(const char* texto, bool simulada = false)
    {
        edk::TEscenario escenario;
        ASSERT_TRUE(escenario.Leer(texto)) << escenario.Error();
        ASSERT_EQ(edk::MotorGlobal().ConectarFuente(std::make_unique<edk::TCascoSimulado>(
                                                        escenario, [] { return Ahora; }, false),
                                                    simulada),
                  EDK_SIN_ERRORES);
    }

    // Reads every event waiting now; their types in order.
    std::vector<int> Vaciar()
    {
        std::vector<int> tipos;
        int codigo = 0;
        while ((codigo = EE_EngineGetNextEvent(FEvento)) == EDK_SIN_ERRORES)
            tipos.push_back(EE_EmoEngineEventGetType(FEvento));
        EXPECT_EQ(codigo, EDK_SIN_EVENTOS);
        return tipos;
    }

    // The demo, with its user 0 added.
    void ConectarDemo()
    {
        ASSERT_EQ(EE_EngineConnect(), EDK_SIN_ERRORES);
        Pasar(0.5);
        ASSERT_EQ(EE_EngineGetNextEvent(FEvento), EDK_SIN_ERRORES);
        ASSERT_EQ(EE_EmoEngineEventGetType(FEvento), EE_UserAdded);
    }

    std::string Fichero(const std::string& nombre, std::string_view texto)
    {
        std::string ruta = testing::TempDir() + nombre;
        std::FILE* f = std::fopen(ruta.c_str(), "wb");
        EXPECT_NE(f, nullptr);
        if (f) {
            std::fwrite(texto.data(), 1, texto.size(), f);
            std::fclose(f);
        }
        FFicheros.push_back(ruta);
        return ruta;
    }

    EmoEngineEventHandle FEvento = nullptr;
    EmoStateHandle FEstado = nullptr;
    std::vector<std::string> FFicheros;
};

TEST_F(Motor, ALocalConnectionReadsTheUserThenTheDemosEmoStatesAtTheRate)
{
    ASSERT_EQ(EE_EngineConnect(), EDK_SIN_ERRORES);
    EXPECT_EQ(EE_EngineGetNextEvent(FEvento), EDK_SIN_EVENTOS) << "the demo's headset comes on at 0.5 s";

    Pasar(1.0);
    ASSERT_EQ(EE_EngineGetNextEvent(FEvento), EDK_SIN_ERRORES);
    EXPECT_EQ(EE_EmoEngineEventGetType(FEvento), EE_UserAdded);
    unsigned int usuario = 99;
    EXPECT_EQ(EE_EmoEngineEventGetUserId(FEvento, &usuario), EDK_SIN_ERRORES);
    EXPECT_EQ(usuario, 0u);
    EXPECT_EQ(EE_EmoEngineEventGetEmoState(FEvento, FEstado), EDK_PARAMETRO_NO_VALIDO) << "not an EmoState";

    std::vector<float> tiempos;
    while (EE_EngineGetNextEvent(FEvento) == EDK_SIN_ERRORES) {
        ASSERT_EQ(EE_EmoEngineEventGetType(FEvento), EE_EmoStateUpdated);
        ASSERT_EQ(EE_EmoEngineEventGetEmoState(FEvento, FEstado), EDK_SIN_ERRORES);
        tiempos.push_back(ES_GetTimeFromStart(FEstado));
    }
    ASSERT_EQ(tiempos.size(), 17u); // 0.5 .. 1.0
    for (std::size_t k = 0; k < tiempos.size(); ++k)
        EXPECT_FLOAT_EQ(tiempos[k], 0.5f + static_cast<float>(k) / edk::EstadosPorSegundo);

    for (int segundo = 0; segundo < 2; ++segundo) {
        Pasar(1.0);
        EXPECT_EQ(Vaciar(), std::vector<int>(edk::EstadosPorSegundo, EE_EmoStateUpdated));
    }
    // The demo at 3 s: good signal, full battery, contacts settling.
    ASSERT_EQ(EE_EmoEngineEventGetEmoState(FEvento, FEstado), EDK_SIN_ERRORES);
    EXPECT_FLOAT_EQ(ES_GetTimeFromStart(FEstado), 3.0f);
    EXPECT_EQ(ES_GetWirelessSignalStatus(FEstado), 2);
    int nivel = -1, maximo = -1;
    ES_GetBatteryChargeLevel(FEstado, &nivel, &maximo);
    EXPECT_EQ(nivel, 5);
    EXPECT_EQ(maximo, 5);
    EXPECT_EQ(ES_CognitivGetCurrentAction(FEstado), static_cast<unsigned int>(ACC_COG_NEUTRAL));
    EXPECT_EQ(ES_ExpressivGetLowerFaceAction(FEstado), static_cast<unsigned int>(ACC_EXP_NEUTRAL));
}

// Every per-user call, so that each rule can be checked on all of them.
const std::vector<std::pair<const char*, std::function<int(unsigned int)>>>& LlamadasDeUsuario()
{
    static const std::vector<std::pair<const char*, std::function<int(unsigned int)>>> llamadas = {
        {"LoadUserProfile", [](unsigned int u) { return EE_LoadUserProfile(u, "/no/existe.emu"); }},
        {"ExpressivSetThreshold",
         [](unsigned int u) { return EE_ExpressivSetThreshold(u, ACC_EXP_APRETAR_DIENTES, 0, 500); }},
        {"ExpressivGetThreshold",
         [](unsigned int u) {
             int v;
             return EE_ExpressivGetThreshold(u, ACC_EXP_APRETAR_DIENTES, 0, &v);
         }},
        {"CognitivGetActionSensitivity",
         [](unsigned int u) {
             int a, b, c, d;
             return EE_CognitivGetActionSensitivity(u, &a, &b, &c, &d);
         }},
        {"CognitivSetActionSensitivity", [](unsigned int u) { return EE_CognitivSetActionSensitivity(u, 5, 5, 5, 5); }},
        {"CognitivGetTrainedSignatureActions",
         [](unsigned int u) {
             unsigned int w;
             return EE_CognitivGetTrainedSignatureActions(u, &w);
         }},
        {"CognitivGetActiveActions",
         [](unsigned int u) {
             unsigned int w;
             return EE_CognitivGetActiveActions(u, &w);
         }},
        {"ExpressivGetTrainedSignatureActions",
         [](unsigned int u) {
             unsigned int w;
             return EE_ExpressivGetTrainedSignatureActions(u, &w);
         }},
        {"CognitivGetOverallSkillRating",
         [](unsigned int u) {
             float r;
             return EE_CognitivGetOverallSkillRating(u, &r);
         }},
        {"HeadsetGetGyroDelta",
         [](unsigned int u) {
             int x, y;
             return EE_HeadsetGetGyroDelta(u, &x, &y);
         }},
        {"HeadsetGyroRezero", [](unsigned int u) { return EE_HeadsetGyroRezero(u); }},
    };
    return llamadas;
}

TEST_F(Motor, CallsThatNeedAConnectionAnswer0x0500WithoutOne)
{
    for (const auto& [nombre, llamada] : LlamadasDeUsuario())
        EXPECT_EQ(llamada(0), EDK_MOTOR_NO_INICIALIZADO) << nombre;
    EXPECT_EQ(EE_EngineGetNextEvent(FEvento), EDK_MOTOR_NO_INICIALIZADO);
    EXPECT_EQ(EE_EngineDisconnect(), EDK_MOTOR_NO_INICIALIZADO);
    OptimizationParamHandle p = EE_OptimizationParamCreate();
    EXPECT_EQ(EE_OptimizationEnable(p), EDK_MOTOR_NO_INICIALIZADO);
    EE_OptimizationParamFree(p);
}

TEST_F(Motor, AUserTheEngineDoesNotHoldAnswers0x0400)
{
    ConectarDemo();
    for (const auto& [nombre, llamada] : LlamadasDeUsuario())
        EXPECT_EQ(llamada(7), EDK_USUARIO_NO_VALIDO) << nombre;
}

TEST_F(Motor, SettingsWithoutAProfileHaveTheirDefaultsAndProfileQueriesAnswer0x0102)
{
    ConectarDemo();
    int umbral = -1;
    EXPECT_EQ(EE_ExpressivGetThreshold(0, ACC_EXP_APRETAR_DIENTES, 0, &umbral), EDK_SIN_ERRORES);
    EXPECT_EQ(umbral, 500);
    std::array<int, 4> s {};
    EXPECT_EQ(EE_CognitivGetActionSensitivity(0, &s[0], &s[1], &s[2], &s[3]), EDK_SIN_ERRORES);
    EXPECT_EQ(s, (std::array<int, 4> {5, 5, 5, 5}));
    unsigned int w = 0;
    float nivel = 0;
    EXPECT_EQ(EE_CognitivGetTrainedSignatureActions(0, &w), EDK_PERFIL_SIN_USUARIO);
    EXPECT_EQ(EE_CognitivGetActiveActions(0, &w), EDK_PERFIL_SIN_USUARIO);
    EXPECT_EQ(EE_ExpressivGetTrainedSignatureActions(0, &w), EDK_PERFIL_SIN_USUARIO);
    EXPECT_EQ(EE_CognitivGetOverallSkillRating(0, &nivel), EDK_PERFIL_SIN_USUARIO);
}

TEST_F(Motor, ValuesOutsideTheirRangeAnswer0x0301AndChangeNothing)
{
    ConectarDemo();
    ASSERT_EQ(EE_ExpressivSetThreshold(0, ACC_EXP_APRETAR_DIENTES, 0, 1000), EDK_SIN_ERRORES);
    ASSERT_EQ(EE_CognitivSetActionSensitivity(0, 1, 9, 2, 8), EDK_SIN_ERRORES);
    EXPECT_EQ(EE_ExpressivSetThreshold(0, ACC_EXP_APRETAR_DIENTES, 0, 1001), EDK_FUERA_DE_RANGO);
    EXPECT_EQ(EE_ExpressivSetThreshold(0, ACC_EXP_APRETAR_DIENTES, 0, -1), EDK_FUERA_DE_RANGO);
    for (const std::array<int, 4>& mal :
         {std::array<int, 4> {0, 5, 5, 5}, {5, 10, 5, 5}, {5, 5, -3, 5}, {5, 5, 5, 100}})
        EXPECT_EQ(EE_CognitivSetActionSensitivity(0, mal[0], mal[1], mal[2], mal[3]), EDK_FUERA_DE_RANGO);

    int umbral = -1;
    EXPECT_EQ(EE_ExpressivGetThreshold(0, ACC_EXP_APRETAR_DIENTES, 0, &umbral), EDK_SIN_ERRORES);
    EXPECT_EQ(umbral, 1000);
    std::array<int, 4> s {};
    EXPECT_EQ(EE_CognitivGetActionSensitivity(0, &s[0], &s[1], &s[2], &s[3]), EDK_SIN_ERRORES);
    EXPECT_EQ(s, (std::array<int, 4> {1, 9, 2, 8}));
}

TEST_F(Motor, InvalidParametersAnswer0x0302)
{
    ConectarDemo();
    int v = 0;
    const std::vector<std::pair<const char*, int>> casos = {
        {"null event handle", EE_EngineGetNextEvent(nullptr)},
        {"null user id", EE_EmoEngineEventGetUserId(FEvento, nullptr)},
        {"null EmoState", EE_EmoEngineEventGetEmoState(FEvento, nullptr)},
        {"null threshold", EE_ExpressivGetThreshold(0, ACC_EXP_APRETAR_DIENTES, 0, nullptr)},
        {"unknown action", EE_ExpressivSetThreshold(0, 0x0003, 0, 500)},
        {"action outside the table", EE_ExpressivGetThreshold(0, 0x1000, 0, &v)},
        {"unknown kind", EE_ExpressivSetThreshold(0, ACC_EXP_APRETAR_DIENTES, 1, 500)},
        {"null sensitivity", EE_CognitivGetActionSensitivity(0, &v, &v, nullptr, &v)},
        {"null word", EE_CognitivGetActiveActions(0, nullptr)},
        {"null rating", EE_CognitivGetOverallSkillRating(0, nullptr)},
        {"null gyro", EE_HeadsetGetGyroDelta(0, &v, nullptr)},
        {"null profile name", EE_LoadUserProfile(0, nullptr)},
        {"null parameter", EE_OptimizationSetVitalAlgorithm(nullptr, 2, 0x0005)},
        {"null contact array", ES_GetContactQualityFromAllChannels(FEstado, nullptr, 18)},
    };
    for (const auto& [caso, codigo] : casos)
        EXPECT_EQ(codigo, EDK_PARAMETRO_NO_VALIDO) << caso;
}

TEST_F(Motor, OptimisationKeepsTheVitalWordPerSuite)
{
    OptimizationParamHandle p = EE_OptimizationParamCreate();
    ASSERT_NE(p, nullptr);
    unsigned int w = 123;
    EXPECT_EQ(EE_OptimizationGetVitalAlgorithm(p, EDK_SUITE_COGNITIVA, &w), EDK_SIN_ERRORES);
    EXPECT_EQ(w, 0u);
    EXPECT_EQ(EE_OptimizationSetVitalAlgorithm(p, EDK_SUITE_COGNITIVA, 0x0005), EDK_SIN_ERRORES);
    EXPECT_EQ(EE_OptimizationSetVitalAlgorithm(p, EDK_SUITE_EXPRESIVA, 0x0101), EDK_SIN_ERRORES);
    EXPECT_EQ(EE_OptimizationSetVitalAlgorithm(p, 1, 0x0001), EDK_PARAMETRO_NO_VALIDO);
    EXPECT_EQ(EE_OptimizationSetVitalAlgorithm(p, EDK_SUITE_EXPRESIVA, 0x1000), EDK_PARAMETRO_NO_VALIDO);
    EXPECT_EQ(EE_OptimizationGetVitalAlgorithm(p, EDK_SUITE_COGNITIVA, &w), EDK_SIN_ERRORES);
    EXPECT_EQ(w, 0x0005u);
    EXPECT_EQ(EE_OptimizationGetVitalAlgorithm(p, EDK_SUITE_EXPRESIVA, &w), EDK_SIN_ERRORES);
    EXPECT_EQ(w, 0x0101u);
    EXPECT_EQ(EE_OptimizationGetVitalAlgorithm(p, 3, &w), EDK_PARAMETRO_NO_VALIDO);

    ConectarDemo();
    EXPECT_EQ(EE_OptimizationEnable(p), EDK_SIN_ERRORES);
    EXPECT_TRUE(edk::MotorGlobal().OptimizacionActiva());
    EE_OptimizationDisable();
    EXPECT_FALSE(edk::MotorGlobal().OptimizacionActiva());
    EE_OptimizationParamFree(p);
    EXPECT_EQ(EE_OptimizationEnable(p), EDK_PARAMETRO_NO_VALIDO) << "a freed parameter";
}

TEST_F(Motor, AProfileIsTakenWholeOrNotAtAll)
{
    const std::string bueno = Fichero("motor_bueno.emu", "GEDANKO-PERFIL 1\n"
                                                         "sensibilidad-apretar = 640\n"
                                                         "sensibilidades-cognitivas = 3,4,5,6\n"
                                                         "cognitivas-entrenadas = neutral+tirar\n"
                                                         "cognitivas-activas = neutral+tirar\n"
                                                         "expresivas-entrenadas = neutral+apretar\n"
                                                         "nivel-entrenamiento = 0.25\n");
    // Valid up to its last line, which is not.
    const std::string malo = Fichero("motor_malo.emu", "GEDANKO-PERFIL 1\n"
                                                       "sensibilidad-apretar = 10\n"
                                                       "sensibilidades-cognitivas = 1,1,1,1\n"
                                                       "cognitivas-entrenadas = neutral\n"
                                                       "cognitivas-activas = neutral\n"
                                                       "expresivas-entrenadas = neutral\n"
                                                       "nivel-entrenamiento = 2\n");
    ConectarDemo();
    ASSERT_EQ(EE_ExpressivSetThreshold(0, ACC_EXP_APRETAR_DIENTES, 0, 321), EDK_SIN_ERRORES);
    ASSERT_EQ(EE_CognitivSetActionSensitivity(0, 2, 3, 4, 6), EDK_SIN_ERRORES);

    EXPECT_EQ(EE_LoadUserProfile(0, malo.c_str()), EDK_PERFIL_NO_VALIDO);
    EXPECT_EQ(EE_LoadUserProfile(0, (malo + ".no").c_str()), EDK_ERROR_FICHEROS);
    int umbral = 0;
    std::array<int, 4> s {};
    EXPECT_EQ(EE_ExpressivGetThreshold(0, ACC_EXP_APRETAR_DIENTES, 0, &umbral), EDK_SIN_ERRORES);
    EXPECT_EQ(umbral, 321);
    EXPECT_EQ(EE_CognitivGetActionSensitivity(0, &s[0], &s[1], &s[2], &s[3]), EDK_SIN_ERRORES);
    EXPECT_EQ(s, (std::array<int, 4> {2, 3, 4, 6}));
    float nivel = -1;
    EXPECT_EQ(EE_CognitivGetOverallSkillRating(0, &nivel), EDK_PERFIL_SIN_USUARIO);

    ASSERT_EQ(EE_LoadUserProfile(0, bueno.c_str()), EDK_SIN_ERRORES);
    EXPECT_EQ(EE_ExpressivGetThreshold(0, ACC_EXP_APRETAR_DIENTES, 0, &umbral), EDK_SIN_ERRORES);
    EXPECT_EQ(umbral, 640);
    EXPECT_EQ(EE_CognitivGetActionSensitivity(0, &s[0], &s[1], &s[2], &s[3]), EDK_SIN_ERRORES);
    EXPECT_EQ(s, (std::array<int, 4> {3, 4, 5, 6}));
    EXPECT_EQ(EE_CognitivGetOverallSkillRating(0, &nivel), EDK_SIN_ERRORES);
    EXPECT_FLOAT_EQ(nivel, 0.25f);
    unsigned int w = 0;
    EXPECT_EQ(EE_CognitivGetTrainedSignatureActions(0, &w), EDK_SIN_ERRORES);
    EXPECT_EQ(w, 0x0005u);
    EXPECT_EQ(EE_CognitivGetActiveActions(0, &w), EDK_SIN_ERRORES);
    EXPECT_EQ(w, 0x0005u);
    EXPECT_EQ(EE_ExpressivGetTrainedSignatureActions(0, &w), EDK_SIN_ERRORES);
    EXPECT_EQ(w, 0x0101u);

    // A bad file later leaves the loaded profile in place.
    EXPECT_EQ(EE_LoadUserProfile(0, malo.c_str()), EDK_PERFIL_NO_VALIDO);
    EXPECT_EQ(EE_CognitivGetOverallSkillRating(0, &nivel), EDK_SIN_ERRORES);
    EXPECT_FLOAT_EQ(nivel, 0.25f);
}

TEST_F(Motor, AProfileNameInWindows1252FindsItsUtf8File)
{
    const std::string ruta = Fichero("motor_señal.emu", "GEDANKO-PERFIL 1\n"
                                                        "sensibilidad-apretar = 500\n"
                                                        "sensibilidades-cognitivas = 5,5,5,5\n"
                                                        "cognitivas-entrenadas = neutral\n"
                                                        "cognitivas-activas = neutral\n"
                                                        "expresivas-entrenadas = neutral\n"
                                                        "nivel-entrenamiento = 0\n");
    std::string cp1252 = ruta;
    cp1252.replace(cp1252.find("ñ"), 2, "\xF1");
    ConectarDemo();
    EXPECT_EQ(EE_LoadUserProfile(0, cp1252.c_str()), EDK_SIN_ERRORES);
}

TEST_F(Motor, TheGyroDeltaIsTheLatestEmoStateMinusTheLastRezero)
{
    ConectarEscenario("0 alta 1\n"
                      "0 giro 10 -4\n"
                      "1 giro 70 6\n"
                      "2 giroscopio sin-calibrar\n"
                      "3 giroscopio calibrado\n"
                      "9 fin\n");
    int x = 0, y = 0;
    EXPECT_EQ(Vaciar(), (std::vector<int> {EE_UserAdded, EE_EmoStateUpdated}));
    EXPECT_EQ(EE_HeadsetGetGyroDelta(1, &x, &y), EDK_SIN_ERRORES);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, -4);
    EXPECT_EQ(EE_HeadsetGyroRezero(1), EDK_SIN_ERRORES);
    EXPECT_EQ(EE_HeadsetGetGyroDelta(1, &x, &y), EDK_SIN_ERRORES);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);

    Pasar(1.0);
    // Due but not yet delivered: the delta follows what the engine handed out.
    EXPECT_EQ(EE_HeadsetGetGyroDelta(1, &x, &y), EDK_SIN_ERRORES);
    EXPECT_EQ(x, 0);
    Vaciar();
    EXPECT_EQ(EE_HeadsetGetGyroDelta(1, &x, &y), EDK_SIN_ERRORES);
    EXPECT_EQ(x, 60);
    EXPECT_EQ(y, 10);

    Pasar(1.0);
    Vaciar();
    EXPECT_EQ(EE_HeadsetGetGyroDelta(1, &x, &y), EDK_GIROSCOPO_NO_CALIBRADO);
    EXPECT_EQ(EE_HeadsetGyroRezero(1), EDK_GIROSCOPO_NO_CALIBRADO);
    Pasar(1.0);
    Vaciar();
    EXPECT_EQ(EE_HeadsetGetGyroDelta(1, &x, &y), EDK_SIN_ERRORES);
    EXPECT_EQ(x, 60) << "the failed re-zero kept the old offset";
}

TEST_F(Motor, TheSimulatedHeadsetsPowersFollowTheUsersSensitivities)
{
    const std::string perfil = Fichero("motor_sensible.emu", "GEDANKO-PERFIL 1\n"
                                                             "sensibilidad-apretar = 500\n"
                                                             "sensibilidades-cognitivas = 1,9,5,5\n"
                                                             "cognitivas-entrenadas = neutral+empujar+tirar\n"
                                                             "cognitivas-activas = neutral+empujar+tirar\n"
                                                             "expresivas-entrenadas = neutral+apretar\n"
                                                             "nivel-entrenamiento = 0.5\n");
    const char* escenario = "0 alta 0\n0 expresiva apretar 0.4\n0 cognitiva tirar 0.5\n9 fin\n";
    struct TCaso {
        bool Simulada;
        int Umbral;
        float Apretar, Tirar;
    };
    // Pull is the second active action: slot 2, sensitivity 9.
    for (const TCaso& caso : {TCaso {true, 500, 0.4f, 0.66f}, TCaso {true, 1000, 0.6f, 0.66f},
                              TCaso {true, 0, 0.2f, 0.66f}, TCaso {false, 1000, 0.4f, 0.5f}}) {
        ConectarEscenario(escenario, caso.Simulada);
        Vaciar();
        ASSERT_EQ(EE_LoadUserProfile(0, perfil.c_str()), EDK_SIN_ERRORES);
        ASSERT_EQ(EE_ExpressivSetThreshold(0, ACC_EXP_APRETAR_DIENTES, 0, caso.Umbral), EDK_SIN_ERRORES);
        Pasar(1.0 / edk::EstadosPorSegundo);
        EXPECT_EQ(Vaciar(), std::vector<int> {EE_EmoStateUpdated});
        ASSERT_EQ(EE_EmoEngineEventGetEmoState(FEvento, FEstado), EDK_SIN_ERRORES);
        EXPECT_FLOAT_EQ(ES_ExpressivGetLowerFaceActionPower(FEstado), caso.Apretar) << caso.Umbral;
        EXPECT_FLOAT_EQ(ES_CognitivGetCurrentActionPower(FEstado), caso.Tirar) << caso.Umbral;
    }
}

TEST_F(Motor, UsersComeAndGoWithTheirEvents)
{
    ConectarEscenario("0 alta 3\n1 baja 3\n2 alta 3\n9 fin\n");
    Vaciar();
    ASSERT_EQ(EE_CognitivSetActionSensitivity(3, 9, 9, 9, 9), EDK_SIN_ERRORES);
    Pasar(1.0);
    Vaciar();
    EXPECT_EQ(EE_CognitivSetActionSensitivity(3, 9, 9, 9, 9), EDK_USUARIO_NO_VALIDO);
    Pasar(1.0);
    Vaciar();
    std::array<int, 4> s {};
    EXPECT_EQ(EE_CognitivGetActionSensitivity(3, &s[0], &s[1], &s[2], &s[3]), EDK_SIN_ERRORES);
    EXPECT_EQ(s, (std::array<int, 4> {5, 5, 5, 5})) << "a user added again starts from the defaults";
}

TEST_F(Motor, DisconnectingDropsTheQueueAndTheUsersAndConnectingAgainStartsAfresh)
{
    ConectarDemo();
    ASSERT_EQ(EE_CognitivSetActionSensitivity(0, 9, 9, 9, 9), EDK_SIN_ERRORES);
    Pasar(1.0); // EmoStates waiting
    ASSERT_EQ(EE_EngineDisconnect(), EDK_SIN_ERRORES);
    EXPECT_EQ(EE_EngineGetNextEvent(FEvento), EDK_MOTOR_NO_INICIALIZADO);

    ASSERT_EQ(EE_EngineConnect(), EDK_SIN_ERRORES);
    EXPECT_EQ(EE_CognitivSetActionSensitivity(0, 9, 9, 9, 9), EDK_USUARIO_NO_VALIDO);
    EXPECT_EQ(EE_EngineGetNextEvent(FEvento), EDK_SIN_EVENTOS) << "a new demo starts at 0";

    // Connecting while connected replaces the old connection.
    Pasar(0.5);
    ASSERT_EQ(EE_EngineGetNextEvent(FEvento), EDK_SIN_ERRORES);
    ASSERT_EQ(EE_EngineConnect(), EDK_SIN_ERRORES);
    EXPECT_EQ(EE_HeadsetGyroRezero(0), EDK_USUARIO_NO_VALIDO);
    EXPECT_EQ(EE_EngineGetNextEvent(FEvento), EDK_SIN_EVENTOS);
}

// A source that never stops sending gyro calibration changes.
class TFuenteInagotable : public edk::TFuenteEventos {
public:
    int Siguiente(edk::TEvento& evento) override
    {
        evento.Tipo = edk::TipoInternoGiroSinCalibrar;
        return EDK_SIN_ERRORES;
    }
};

TEST_F(Motor, AFloodOfInternalEventsNeverHangsAPoll)
{
    ASSERT_EQ(edk::MotorGlobal().ConectarFuente(std::make_unique<TFuenteInagotable>()), EDK_SIN_ERRORES);
    EXPECT_EQ(EE_EngineGetNextEvent(FEvento), EDK_SIN_EVENTOS);
    EXPECT_EQ(EE_EngineGetNextEvent(FEvento), EDK_SIN_EVENTOS);
}

TEST_F(Motor, ContactQualityCopiesAtMostCountValues)
{
    ConectarEscenario("0 alta 0\n0 contactos 0 1 2 3 4 0 1 2 3 4 0 1 2 3 4 0 1 2\n1 fin\n");
    Vaciar();
    ASSERT_EQ(EE_EmoEngineEventGetEmoState(FEvento, FEstado), EDK_SIN_ERRORES);
    std::array<int, 20> valores;
    valores.fill(-7);
    EXPECT_EQ(ES_GetContactQualityFromAllChannels(FEstado, valores.data(), 5), EDK_SIN_ERRORES);
    EXPECT_EQ(valores[4], 4);
    EXPECT_EQ(valores[5], -7);
    valores.fill(-7);
    EXPECT_EQ(ES_GetContactQualityFromAllChannels(FEstado, valores.data(), valores.size()), EDK_SIN_ERRORES);
    EXPECT_EQ(valores[17], 2);
    EXPECT_EQ(valores[18], -7);
}

TEST_F(Motor, ReadsOnSomethingThatIsNotAnEmoStateAnswerNeutralValues)
{
    int basura = 0;
    for (EmoStateHandle h : {static_cast<void*>(nullptr), static_cast<void*>(&basura), FEvento}) {
        EXPECT_EQ(ES_CognitivGetCurrentAction(h), static_cast<unsigned int>(ACC_COG_NEUTRAL));
        EXPECT_EQ(ES_ExpressivGetLowerFaceActionPower(h), 0.0f);
        EXPECT_EQ(ES_GetWirelessSignalStatus(h), 0);
        int nivel = 9, maximo = 9;
        ES_GetBatteryChargeLevel(h, &nivel, &maximo);
        EXPECT_EQ(nivel + maximo, 0);
        ES_GetBatteryChargeLevel(h, nullptr, nullptr);
        int c = 0;
        EXPECT_EQ(ES_GetContactQualityFromAllChannels(h, &c, 1), EDK_PARAMETRO_NO_VALIDO);
    }
    EXPECT_EQ(EE_EmoEngineEventGetType(&basura), EE_UnknownEvent);
    EE_EmoStateFree(&basura); // ignored
}

TEST_F(Motor, RemoteConnectionFaultsComeBackAsCodes)
{
    EXPECT_EQ(EE_EngineRemoteConnect(nullptr, 1726), EDK_PARAMETRO_NO_VALIDO);
    EXPECT_EQ(EE_EngineRemoteConnect("127.0.0", 1726), EDK_PARAMETRO_NO_VALIDO);
    EXPECT_EQ(EE_EngineRemoteConnect("127.0.0.1", 0), EDK_PARAMETRO_NO_VALIDO);

    // A port nobody listens on: take a free one and close it again.
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(s, 0);
    sockaddr_in dir {};
    dir.sin_family = AF_INET;
    dir.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&dir), sizeof dir), 0);
    socklen_t largo = sizeof dir;
    ASSERT_EQ(::getsockname(s, reinterpret_cast<sockaddr*>(&dir), &largo), 0);
    ::close(s);
    EXPECT_EQ(EE_EngineRemoteConnect("127.0.0.1", ntohs(dir.sin_port)), EDK_CONEXION_REMOTA_IMPOSIBLE);
    EXPECT_EQ(EE_EngineGetNextEvent(FEvento), EDK_MOTOR_NO_INICIALIZADO);
}

// Connects the engine to a server of the test's own on the loopback, which
// greets it; the server's end of the link, or -1.
int ConectarAServidorPropio()
{
    const int servidor = ::socket(AF_INET, SOCK_STREAM, 0);
    if (servidor < 0)
        return -1;
    sockaddr_in dir {};
    dir.sin_family = AF_INET;
    dir.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t largo = sizeof dir;
    int cliente = -1;
    if (::bind(servidor, reinterpret_cast<sockaddr*>(&dir), sizeof dir) == 0 && ::listen(servidor, 1) == 0
        && ::getsockname(servidor, reinterpret_cast<sockaddr*>(&dir), &largo) == 0) {
        // The engine's connect returns only once the greeting has come.
        std::thread atencion([&] {
            pollfd p {servidor, POLLIN, 0};
            if (::poll(&p, 1, 3000) == 1)
                cliente = ::accept(servidor, nullptr, nullptr);
            const std::string saludo = edk::Saludo() + "\n";
            if (cliente >= 0 && ::write(cliente, saludo.data(), saludo.size()) != static_cast<ssize_t>(saludo.size())) {
                ::close(cliente);
                cliente = -1;
            }
        });
        const int codigo = EE_EngineRemoteConnect("127.0.0.1", ntohs(dir.sin_port));
        atencion.join();
        if (codigo != EDK_SIN_ERRORES && cliente >= 0) {
            ::close(cliente);
            cliente = -1;
        }
    }
    ::close(servidor);
    return cliente;
}

TEST_F(Motor, ALostRemoteLinkAnswers0x0501UntilDisconnection)
{
    const int cliente = ConectarAServidorPropio();
    ASSERT_GE(cliente, 0);
    std::string texto;
    for (const int tipo : {static_cast<int>(EE_UserAdded), edk::TipoInternoGiroSinCalibrar}) {
        edk::TEvento evento;
        evento.Tipo = tipo;
        evento.Usuario = 5;
        std::string linea;
        ASSERT_TRUE(edk::FormatearEvento(evento, linea));
        texto += linea + "\n";
    }
    ASSERT_EQ(::write(cliente, texto.data(), texto.size()), static_cast<ssize_t>(texto.size()));
    ::close(cliente);

    // The lines are on their way; wait for the first event, not for a time.
    int codigo = EDK_SIN_EVENTOS;
    for (int intento = 0; intento < 5000 && codigo == EDK_SIN_EVENTOS; ++intento) {
        codigo = EE_EngineGetNextEvent(FEvento);
        if (codigo == EDK_SIN_EVENTOS)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(codigo, EDK_SIN_ERRORES);
    EXPECT_EQ(EE_EmoEngineEventGetType(FEvento), EE_UserAdded);

    for (int intento = 0; intento < 5000 && codigo != EDK_CONEXION_REMOTA_PERDIDA; ++intento) {
        codigo = EE_EngineGetNextEvent(FEvento);
        if (codigo == EDK_SIN_EVENTOS)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(codigo, EDK_CONEXION_REMOTA_PERDIDA);
    EXPECT_EQ(EE_EngineGetNextEvent(FEvento), EDK_CONEXION_REMOTA_PERDIDA);
    EXPECT_EQ(EE_EngineGetNextEvent(FEvento), EDK_CONEXION_REMOTA_PERDIDA);
    int x = 0, y = 0;
    EXPECT_EQ(EE_HeadsetGetGyroDelta(5, &x, &y), EDK_GIROSCOPO_NO_CALIBRADO) << "the internal event was taken in";

    EXPECT_EQ(EE_EngineDisconnect(), EDK_SIN_ERRORES);
    EXPECT_EQ(EE_EngineGetNextEvent(FEvento), EDK_MOTOR_NO_INICIALIZADO);
}

// The wake-up descriptor: readable once a poll that found nothing may find
// something, and not before. Timed on the real clock: each "not yet" has a
// margin of a fifth of a second.
bool Legible(int fd, int esperaMs)
{
    pollfd p {fd, POLLIN, 0};
    return ::poll(&p, 1, esperaMs) == 1 && (p.revents & POLLIN) != 0;
}

TEST_F(Motor, TheWakeUpDescriptorTurnsReadableWhenTheSimulatedHeadsetHasAnEvent)
{
    const int fd = EDK_DescriptorEventos();
    ASSERT_GE(fd, 0);
    EXPECT_FALSE(Legible(fd, 0)) << "nothing to read without a connection";

    edk::TEscenario escenario;
    ASSERT_TRUE(escenario.Leer("0.2 alta 4\n0.6 baja 4\n5 fin\n")) << escenario.Error();
    ASSERT_EQ(edk::MotorGlobal().ConectarFuente(std::make_unique<edk::TCascoSimulado>(escenario, edk::TReloj(), false)),
              EDK_SIN_ERRORES);
    EXPECT_TRUE(Vaciar().empty());
    EXPECT_FALSE(Legible(fd, 0)) << "the headset comes on at 0.2 s";
    ASSERT_TRUE(Legible(fd, 3000));
    ASSERT_EQ(EE_EngineGetNextEvent(FEvento), EDK_SIN_ERRORES);
    EXPECT_EQ(EE_EmoEngineEventGetType(FEvento), EE_UserAdded);

    // EmoStates until the headset goes off at 0.6 s; then nothing is due
    // before the end, and nothing wakes the caller.
    std::vector<int> tipos;
    while (tipos.empty() || tipos.back() != EE_UserRemoved) {
        ASSERT_TRUE(Legible(fd, 3000));
        for (const int tipo : Vaciar())
            tipos.push_back(tipo);
    }
    EXPECT_GE(tipos.size(), 2u);
    EXPECT_FALSE(Legible(fd, 200));

    EXPECT_EQ(EE_EngineDisconnect(), EDK_SIN_ERRORES);
    EXPECT_EQ(EDK_DescriptorEventos(), fd) << "one descriptor for the engine's life";
    EXPECT_FALSE(Legible(fd, 0));
}

TEST_F(Motor, TheWakeUpDescriptorFollowsTheRemoteLinkAndRestsOnceItIsLost)
{
    const int fd = EDK_DescriptorEventos();
    ASSERT_GE(fd, 0);
    const int cliente = ConectarAServidorPropio();
    ASSERT_GE(cliente, 0);

    EXPECT_TRUE(Vaciar().empty());
    EXPECT_FALSE(Legible(fd, 200)) << "the server has sent nothing";
    edk::TEvento evento;
    evento.Tipo = EE_UserAdded;
    std::string linea;
    ASSERT_TRUE(edk::FormatearEvento(evento, linea));
    const std::string texto = linea + "\n";
    ASSERT_EQ(::write(cliente, texto.data(), texto.size()), static_cast<ssize_t>(texto.size()));
    ASSERT_TRUE(Legible(fd, 3000));
    std::vector<int> tipos;
    while (tipos.empty() && Legible(fd, 3000))
        tipos = Vaciar();
    EXPECT_EQ(tipos, std::vector<int> {EE_UserAdded});

    ::close(cliente);
    ASSERT_TRUE(Legible(fd, 3000)) << "the server's leaving wakes the caller";
    EXPECT_EQ(EE_EngineGetNextEvent(FEvento), EDK_CONEXION_REMOTA_PERDIDA);
    EXPECT_FALSE(Legible(fd, 100)) << "a lost link must not keep waking the caller";
    EXPECT_EQ(EE_EngineDisconnect(), EDK_SIN_ERRORES);
}

} // namespace
