// The connection's lifecycle, its engine calls and its answers from the last
// EmoState, all against the scriptable test engine.
#include "ConexionCasco.h"
#include "ConexionEmulador.h"
#include "MotorPrueba.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

using TLlamadas = std::vector<std::string>;

class ConexionTest : public testing::Test {
protected:
    void SetUp() override { motor.Reiniciar(); }
    TMotorPrueba& motor = MotorPrueba();
};

TEST_F(ConexionTest, HandlesAreCreatedInOrderAndFreedOnceInReverse)
{
    {
        std::unique_ptr<TConexion> conexion = std::make_unique<TConexionCasco>();
        EXPECT_EQ(motor.Llamadas(), (TLlamadas {"EE_EmoEngineEventCreate()", "EE_EmoStateCreate()"}));
        motor.BorrarLlamadas();
    }
    // Destruction through the base pointer never disconnects.
    EXPECT_EQ(motor.Llamadas(), (TLlamadas {"EE_EmoStateFree(S1)", "EE_EmoEngineEventFree(E1)"}));
    EXPECT_TRUE(motor.TodoLiberado());
    EXPECT_TRUE(motor.Anomalias().empty());
}

TEST_F(ConexionTest, FullRunFreesEveryHandleOnce)
{
    {
        TConexionCasco conexion;
        ASSERT_TRUE(conexion.Conectar());
        ASSERT_TRUE(conexion.ActivarOptimizacion());
        EXPECT_FALSE(conexion.LeerEvento());
        EXPECT_TRUE(conexion.Desconectar());
        EXPECT_TRUE(conexion.Desconectar()); // a second call frees nothing again
    }
    EXPECT_EQ(motor.Manejadores().size(), 3u);
    EXPECT_TRUE(motor.TodoLiberado());
    EXPECT_TRUE(motor.Anomalias().empty());
}

TEST_F(ConexionTest, ParameterLeftByAMissingDisconnectIsFreedWithTheObject)
{
    {
        TConexionCasco conexion;
        conexion.ActivarOptimizacion();
        conexion.ActivarOptimizacion(); // the first parameter is not lost either
    }
    EXPECT_EQ(motor.Cuenta("EE_EngineDisconnect"), 0);
    EXPECT_TRUE(motor.TodoLiberado());
    EXPECT_TRUE(motor.Anomalias().empty());
}

TEST_F(ConexionTest, ConectarKeepsTheEngineCode)
{
    for (int codigo : {0, int(EDK_MOTOR_NO_INICIALIZADO), int(EDK_CONEXION_REMOTA_IMPOSIBLE), -1}) {
        motor.Reiniciar();
        motor.FijarResultado("EE_EngineConnect", codigo);
        motor.FijarResultado("EE_EngineRemoteConnect", codigo);
        TConexionCasco casco;
        TConexionEmulador emulador("10.0.0.2", 3008);
        EXPECT_EQ(casco.Conectar(), codigo == 0);
        EXPECT_EQ(casco.Resultado(), codigo);
        EXPECT_EQ(emulador.Conectar(), codigo == 0);
        EXPECT_EQ(emulador.Resultado(), codigo);
        EXPECT_EQ(motor.LlamadasDe("EE_EngineRemoteConnect"), TLlamadas {"EE_EngineRemoteConnect(\"10.0.0.2\",3008)"});
    }
}

TEST_F(ConexionTest, EmulatorAddressUpToFifteenCharactersOnly)
{
    TConexionEmulador largo15("255.255.255.255", 1726);
    EXPECT_TRUE(largo15.Conectar());
    EXPECT_EQ(motor.LlamadasDe("EE_EngineRemoteConnect"),
              TLlamadas {"EE_EngineRemoteConnect(\"255.255.255.255\",1726)"});

    const char* rechazados[] = {"255.255.255.2550", "127.000.000.0001", nullptr};
    for (const char* servidor : rechazados) {
        TConexionEmulador conexion(servidor, 1726);
        motor.BorrarLlamadas();
        EXPECT_FALSE(conexion.Conectar());
        EXPECT_EQ(conexion.Resultado(), EDK_PARAMETRO_NO_VALIDO);
        EXPECT_TRUE(motor.Llamadas().empty()) << (servidor ? servidor : "null");
    }
}

TEST_F(ConexionTest, ActivarOptimizacionStopsAtTheFirstRefusal)
{
    const TLlamadas completas = {
        "EE_OptimizationParamCreate()",
        "EE_OptimizationSetVitalAlgorithm(P1,2,5)",
        "EE_OptimizationSetVitalAlgorithm(P1,0,257)",
        "EE_OptimizationEnable(P1)",
    };
    struct {
        const char* Funcion; // refused with 0x0800, or none
        std::size_t Llamadas;
    } casos[] = {
        {nullptr, 4},
        {"EE_OptimizationSetVitalAlgorithm", 2},
        {"EE_OptimizationEnable", 4},
    };
    for (const auto& caso : casos) {
        motor.Reiniciar();
        if (caso.Funcion)
            motor.FijarResultado(caso.Funcion, EDK_FALLO_OPTIMIZACION);
        TConexionCasco conexion;
        motor.BorrarLlamadas();
        EXPECT_EQ(conexion.ActivarOptimizacion(), caso.Funcion == nullptr);
        EXPECT_EQ(conexion.Resultado(), caso.Funcion ? EDK_FALLO_OPTIMIZACION : 0);
        EXPECT_EQ(motor.Llamadas(), TLlamadas(completas.begin(), completas.begin() + caso.Llamadas));
    }

    // A refusal of the second suite also stops before enabling.
    motor.Reiniciar();
    motor.EncolarResultado("EE_OptimizationSetVitalAlgorithm", 0);
    motor.EncolarResultado("EE_OptimizationSetVitalAlgorithm", EDK_PARAMETRO_NO_VALIDO);
    TConexionCasco conexion;
    EXPECT_FALSE(conexion.ActivarOptimizacion());
    EXPECT_EQ(conexion.Resultado(), EDK_PARAMETRO_NO_VALIDO);
    EXPECT_EQ(motor.Cuenta("EE_OptimizationEnable"), 0);
}

TEST_F(ConexionTest, DesconectarTurnsOptimisationOffFreesTheParameterThenDisconnects)
{
    TConexionCasco conexion;
    conexion.ActivarOptimizacion();
    motor.FijarResultado("EE_EngineDisconnect", EDK_CONEXION_REMOTA_PERDIDA);
    motor.BorrarLlamadas();
    EXPECT_FALSE(conexion.Desconectar());
    EXPECT_EQ(conexion.Resultado(), EDK_CONEXION_REMOTA_PERDIDA);
    EXPECT_EQ(motor.Llamadas(),
              (TLlamadas {"EE_OptimizationDisable()", "EE_OptimizationParamFree(P1)", "EE_EngineDisconnect()"}));

    // Without a parameter there is nothing to free.
    TConexionCasco otra;
    motor.BorrarLlamadas();
    motor.FijarResultado("EE_EngineDisconnect", 0);
    EXPECT_TRUE(otra.Desconectar());
    EXPECT_EQ(motor.Llamadas(), (TLlamadas {"EE_OptimizationDisable()", "EE_EngineDisconnect()"}));
}

TEST_F(ConexionTest, LeerEventoTakesTypeAndUser)
{
    TConexionCasco conexion;
    motor.EncolarEvento(EE_UserAdded, 7);
    EXPECT_TRUE(conexion.LeerEvento());
    EXPECT_EQ(conexion.TipoEvento(), EE_UserAdded);
    EXPECT_EQ(conexion.Usuario(), 7u);
    EXPECT_TRUE(conexion.UsuarioAnadido());
    EXPECT_FALSE(conexion.UsuarioEliminado());

    // Nothing waiting: 0x0600, and the previous event's values stay.
    EXPECT_FALSE(conexion.LeerEvento());
    EXPECT_EQ(conexion.Resultado(), EDK_SIN_EVENTOS);
    EXPECT_EQ(conexion.TipoEvento(), EE_UserAdded);
    EXPECT_EQ(conexion.Usuario(), 7u);

    // A refused user id: false, but the type is the new one.
    motor.EncolarEvento(EE_UserRemoved, 9, EDK_USUARIO_NO_VALIDO);
    EXPECT_FALSE(conexion.LeerEvento());
    EXPECT_EQ(conexion.Resultado(), EDK_USUARIO_NO_VALIDO);
    EXPECT_TRUE(conexion.UsuarioEliminado());
    EXPECT_EQ(conexion.Usuario(), 7u);

    // A lost remote engine shows as a failing poll.
    motor.FijarResultado("EE_EngineGetNextEvent", EDK_CONEXION_REMOTA_PERDIDA);
    motor.EncolarEvento(EE_UserAdded, 3);
    EXPECT_FALSE(conexion.LeerEvento());
    EXPECT_EQ(conexion.Resultado(), EDK_CONEXION_REMOTA_PERDIDA);
    EXPECT_EQ(conexion.TipoEvento(), EE_UserRemoved);
}

TEST_F(ConexionTest, FreshConnectionAnswersFromStartValues)
{
    TConexionCasco conexion;
    TDireccion direccion = dirNinguna;
    unsigned potencia = 99;
    conexion.AccionDetectada(direccion, potencia);
    EXPECT_EQ(direccion, dirNeutral);
    EXPECT_EQ(potencia, 0u);
    EXPECT_EQ(conexion.NivelSenal(), nsSinSenal);
    EXPECT_EQ(conexion.Tiempo(), 0.0f);
    int nivel = -1;
    int maximo = -1;
    conexion.NivelBateria(nivel, maximo);
    EXPECT_EQ(nivel, 0);
    EXPECT_EQ(maximo, 0);
    std::array<int, NumElectrodos> valores;
    valores.fill(-1);
    bool utilizables = true;
    conexion.CalidadContacto(valores, utilizables);
    EXPECT_EQ(valores, (std::array<int, NumElectrodos> {}));
    EXPECT_FALSE(utilizables);
    EXPECT_EQ(conexion.Resultado(), 0);
    EXPECT_EQ(conexion.Usuario(), 0u);
    EXPECT_EQ(conexion.TipoEvento(), 0);
}

TEST_F(ConexionTest, LeerEstadoCopiesEveryValueInOrder)
{
    TEstadoPrueba estado;
    estado.AccionCognitiva = ACC_COG_TIRAR;
    estado.PotenciaCognitiva = 0.25f;
    estado.AccionExpresiva = ACC_EXP_SONREIR;
    estado.PotenciaExpresiva = 0.5f;
    estado.Tiempo = 12.5f;
    estado.Senal = EDK_SENAL_BUENA;
    estado.Bateria = 3;
    estado.BateriaMax = 4;
    for (int canal = 0; canal < EDK_NUM_CANALES; ++canal)
        estado.Contactos[canal] = canal % 5;
    motor.EncolarEstado(estado, 4);

    TConexionCasco conexion;
    ASSERT_TRUE(conexion.LeerEvento());
    motor.BorrarLlamadas();
    ASSERT_TRUE(conexion.LeerEstado());
    EXPECT_EQ(motor.Llamadas(), (TLlamadas {
                                    "EE_EmoEngineEventGetEmoState(E1,S1)",
                                    "ES_CognitivGetCurrentAction(S1)",
                                    "ES_CognitivGetCurrentActionPower(S1)",
                                    "ES_ExpressivGetLowerFaceAction(S1)",
                                    "ES_ExpressivGetLowerFaceActionPower(S1)",
                                    "ES_GetTimeFromStart(S1)",
                                    "ES_GetWirelessSignalStatus(S1)",
                                    "ES_GetBatteryChargeLevel(S1)",
                                    "ES_GetContactQualityFromAllChannels(S1,18)",
                                }));
    EXPECT_EQ(conexion.Tiempo(), 12.5f);
    EXPECT_EQ(conexion.NivelSenal(), nsBuena);
    int nivel = 0;
    int maximo = 0;
    conexion.NivelBateria(nivel, maximo);
    EXPECT_EQ(nivel, 3);
    EXPECT_EQ(maximo, 4);
    std::array<int, NumElectrodos> valores {};
    bool utilizables = true;
    conexion.CalidadContacto(valores, utilizables);
    for (int posicion = 0; posicion < NumElectrodos; ++posicion)
        EXPECT_EQ(valores[posicion], TConexion::CanalDeElectrodo[posicion] % 5) << posicion;
    EXPECT_FALSE(utilizables);
    TDireccion direccion = dirNinguna;
    unsigned potencia = 0;
    conexion.AccionDetectada(direccion, potencia);
    EXPECT_EQ(direccion, dirRetroceso);
    EXPECT_EQ(potencia, 2u);
}

TEST_F(ConexionTest, LeerEstadoOnlyForAnEmoStateItCouldFetch)
{
    TEstadoPrueba primero;
    primero.Tiempo = 1.0f;
    TEstadoPrueba segundo;
    segundo.Tiempo = 2.0f;
    motor.EncolarEstado(primero);
    motor.EncolarEvento(EE_UserAdded, 1);
    motor.EncolarEstado(segundo);

    TConexionCasco conexion;
    ASSERT_TRUE(conexion.LeerEvento());
    ASSERT_TRUE(conexion.LeerEstado());

    // Not an EmoState: false with the code untouched and no engine call.
    ASSERT_TRUE(conexion.LeerEvento());
    motor.BorrarLlamadas();
    EXPECT_FALSE(conexion.LeerEstado());
    EXPECT_EQ(conexion.Resultado(), 0);
    EXPECT_TRUE(motor.Llamadas().empty());
    EXPECT_TRUE(conexion.UsuarioAnadido());

    // An EmoState the engine refuses to hand over: the copies stay.
    motor.FijarResultado("EE_EmoEngineEventGetEmoState", EDK_SIN_DATOS_EEG);
    ASSERT_TRUE(conexion.LeerEvento());
    EXPECT_FALSE(conexion.LeerEstado());
    EXPECT_EQ(conexion.Resultado(), EDK_SIN_DATOS_EEG);
    EXPECT_EQ(conexion.Tiempo(), 1.0f);
}

TEST_F(ConexionTest, AccionDetectadaByActionAndPower)
{
    constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float Inf = std::numeric_limits<float>::infinity();
    struct {
        unsigned Cognitiva;
        float PotenciaCognitiva;
        unsigned Expresiva;
        float PotenciaExpresiva;
        TDireccion Direccion;
        unsigned Potencia;
    } casos[] = {
        {ACC_COG_TIRAR, 0.25f, ACC_EXP_NEUTRAL, 0, dirRetroceso, 2},
        {ACC_COG_NEUTRAL, 0, ACC_EXP_APRETAR_DIENTES, 0.75f, dirAvance, 8},
        {ACC_COG_NEUTRAL, 0, ACC_EXP_APRETAR_DIENTES, 0.8f, dirAvance, 8},
        {ACC_COG_TIRAR, 0.4f, ACC_EXP_APRETAR_DIENTES, 0.9f, dirRetroceso, 4},
        {ACC_COG_EMPUJAR, 0.9f, ACC_EXP_NEUTRAL, 0.9f, dirNeutral, 0},
        {ACC_COG_EMPUJAR, 0.9f, ACC_EXP_SONREIR, 0.9f, dirNinguna, 0},
        {ACC_COG_NEUTRAL, 0.7f, ACC_EXP_SONREIR, 0.7f, dirNeutral, 0},
        {0, 0, 0, 0, dirNinguna, 0},
        {ACC_COG_TIRAR, 0.04f, ACC_EXP_NEUTRAL, 0, dirRetroceso, 0},
        {ACC_COG_TIRAR, 1.0f, ACC_EXP_NEUTRAL, 0, dirRetroceso, 10},
        // odd powers stay inside 0..10
        {ACC_COG_TIRAR, 1.5f, ACC_EXP_NEUTRAL, 0, dirRetroceso, 10},
        {ACC_COG_TIRAR, -0.3f, ACC_EXP_NEUTRAL, 0, dirRetroceso, 0},
        // a power that is not a number detects nothing, whatever else is present
        {ACC_COG_TIRAR, NaN, ACC_EXP_NEUTRAL, 0, dirNinguna, 0},
        {ACC_COG_TIRAR, Inf, ACC_EXP_NEUTRAL, 0, dirNinguna, 0},
        {ACC_COG_TIRAR, -Inf, ACC_EXP_NEUTRAL, 0, dirNinguna, 0},
        {ACC_COG_TIRAR, Inf, ACC_EXP_APRETAR_DIENTES, 0.8f, dirNinguna, 0},
        {ACC_COG_NEUTRAL, 0, ACC_EXP_APRETAR_DIENTES, Inf, dirNinguna, 0},
        {ACC_COG_NEUTRAL, 0, ACC_EXP_APRETAR_DIENTES, NaN, dirNinguna, 0},
        {ACC_COG_NEUTRAL, 0, ACC_EXP_APRETAR_DIENTES, -Inf, dirNinguna, 0},
        // the power of an action that decides nothing does not matter
        {ACC_COG_EMPUJAR, NaN, ACC_EXP_APRETAR_DIENTES, 0.6f, dirAvance, 6},
    };
    for (const auto& caso : casos) {
        motor.Reiniciar();
        TEstadoPrueba estado;
        estado.AccionCognitiva = caso.Cognitiva;
        estado.PotenciaCognitiva = caso.PotenciaCognitiva;
        estado.AccionExpresiva = caso.Expresiva;
        estado.PotenciaExpresiva = caso.PotenciaExpresiva;
        motor.EncolarEstado(estado);
        TConexionCasco conexion;
        ASSERT_TRUE(conexion.LeerEvento() && conexion.LeerEstado());
        TDireccion direccion = dirNinguna;
        unsigned potencia = 99;
        conexion.AccionDetectada(direccion, potencia);
        EXPECT_EQ(direccion, caso.Direccion) << caso.Cognitiva << "/" << caso.Expresiva;
        EXPECT_EQ(potencia, caso.Potencia) << caso.PotenciaCognitiva << "/" << caso.PotenciaExpresiva;
    }
}

TEST_F(ConexionTest, NivelSenalFromStatus)
{
    const std::pair<int, int> casos[] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {-1, 0}};
    TConexionCasco conexion;
    for (auto [senal, nivel] : casos) {
        TEstadoPrueba estado;
        estado.Senal = senal;
        motor.EncolarEstado(estado);
        ASSERT_TRUE(conexion.LeerEvento() && conexion.LeerEstado());
        EXPECT_EQ(conexion.NivelSenal(), nivel) << senal;
    }
}

TEST_F(ConexionTest, EveryChannelCountsForUsableContacts)
{
    auto todos = [](int valor) {
        std::array<int, EDK_NUM_CANALES> contactos;
        contactos.fill(valor);
        return contactos;
    };
    struct {
        int Canal; // changed channel, -1 none
        int Valor;
        bool Utilizables;
    } casos[] = {
        {-1, 0, true}, {17, 1, false}, // not displayed, still counts
        {2, 0, false}, // not displayed either
        {3, 1, false}, {10, 4, true},  {5, -3, false}, // garbage is never usable
        {6, 5, false},
    };
    TConexionCasco conexion;
    for (const auto& caso : casos) {
        TEstadoPrueba estado;
        estado.Contactos = todos(2);
        if (caso.Canal >= 0)
            estado.Contactos[caso.Canal] = caso.Valor;
        motor.EncolarEstado(estado);
        ASSERT_TRUE(conexion.LeerEvento() && conexion.LeerEstado());
        std::array<int, NumElectrodos> valores {};
        bool utilizables = !caso.Utilizables;
        conexion.CalidadContacto(valores, utilizables);
        EXPECT_EQ(utilizables, caso.Utilizables) << caso.Canal << "=" << caso.Valor;
    }
}

TEST_F(ConexionTest, ContactValuesMapToDisplayPositions)
{
    // Each channel carries its own marker so a wrong mapping shows.
    TEstadoPrueba estado;
    estado.Contactos = {0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1, 2};
    motor.EncolarEstado(estado);
    TConexionCasco conexion;
    ASSERT_TRUE(conexion.LeerEvento() && conexion.LeerEstado());
    std::array<int, NumElectrodos> valores {};
    bool utilizables = true;
    conexion.CalidadContacto(valores, utilizables);
    // AF3 AF4 F3 F4 F7 F8 FC5 FC6 T7 T8 CMS DRL P7 P8 O1 O2 = channels
    // 3 16 5 14 4 15 6 13 7 12 0 1 8 11 9 10
    EXPECT_EQ(valores, (std::array<int, 16> {3, 1, 0, 4, 4, 0, 1, 3, 2, 2, 0, 1, 3, 1, 4, 0}));

    // Values outside 0..4 are shown clamped and are never usable.
    const std::pair<int, int> fueraDeRango[] = {{9, 4}, {-5, 0}, {5, 4}, {-1, 0}, {INT_MAX, 4}, {INT_MIN, 0}};
    for (auto [valor, mostrado] : fueraDeRango) {
        estado.Contactos.fill(3);
        estado.Contactos[5] = valor; // F3, display position 2
        motor.EncolarEstado(estado);
        ASSERT_TRUE(conexion.LeerEvento() && conexion.LeerEstado());
        utilizables = true;
        conexion.CalidadContacto(valores, utilizables);
        EXPECT_EQ(valores[2], mostrado) << valor;
        EXPECT_EQ(valores[0], 3) << valor;
        EXPECT_FALSE(utilizables) << valor;
    }
}

} // namespace
