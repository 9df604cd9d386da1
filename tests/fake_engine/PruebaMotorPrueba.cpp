// The test engine's own contract, which the other areas' tests rely on.
#include "MotorPrueba.h"

#include <gtest/gtest.h>

namespace {

class MotorPruebaTest : public testing::Test {
protected:
    void SetUp() override { MotorPrueba().Reiniciar(); }
    TMotorPrueba& motor = MotorPrueba();
};

TEST_F(MotorPruebaTest, EventsComeInOrderThenNoneWaiting)
{
    TEstadoPrueba estado;
    estado.AccionCognitiva = ACC_COG_TIRAR;
    estado.Tiempo = 2.5f;
    estado.Contactos[17] = 4;
    motor.EncolarEvento(EE_UserAdded, 3);
    motor.EncolarEstado(estado, 3);

    void* evento = EE_EmoEngineEventCreate();
    void* buffer = EE_EmoStateCreate();
    unsigned usuario = 99;
    ASSERT_EQ(EE_EngineGetNextEvent(evento), 0);
    EXPECT_EQ(EE_EmoEngineEventGetType(evento), EE_UserAdded);
    EXPECT_EQ(EE_EmoEngineEventGetUserId(evento, &usuario), 0);
    EXPECT_EQ(usuario, 3u);

    ASSERT_EQ(EE_EngineGetNextEvent(evento), 0);
    EXPECT_EQ(EE_EmoEngineEventGetType(evento), EE_EmoStateUpdated);
    ASSERT_EQ(EE_EmoEngineEventGetEmoState(evento, buffer), 0);
    EXPECT_EQ(ES_CognitivGetCurrentAction(buffer), unsigned(ACC_COG_TIRAR));
    EXPECT_FLOAT_EQ(ES_GetTimeFromStart(buffer), 2.5f);
    int contactos[EDK_NUM_CANALES] {};
    ES_GetContactQualityFromAllChannels(buffer, contactos, EDK_NUM_CANALES);
    EXPECT_EQ(contactos[17], 4);

    EXPECT_EQ(EE_EngineGetNextEvent(evento), EDK_SIN_EVENTOS);
    EE_EmoStateFree(buffer);
    EE_EmoEngineEventFree(evento);
    EXPECT_TRUE(motor.TodoLiberado());
    EXPECT_TRUE(motor.Anomalias().empty());
}

TEST_F(MotorPruebaTest, QueuedCodesGoFirstThenTheFixedOne)
{
    motor.FijarResultado("EE_HeadsetGyroRezero", EDK_GIROSCOPO_NO_CALIBRADO);
    motor.EncolarResultado("EE_HeadsetGyroRezero", 0);
    EXPECT_EQ(EE_HeadsetGyroRezero(1), 0);
    EXPECT_EQ(EE_HeadsetGyroRezero(1), EDK_GIROSCOPO_NO_CALIBRADO);
    EXPECT_EQ(EE_EngineConnect(), 0); // other functions keep the default
}

TEST_F(MotorPruebaTest, RefusedGetterWritesNothingAndSetterIsReadBack)
{
    motor.Sensibilidades = {3, 4, 5, 6};
    motor.EncolarResultado("EE_CognitivGetActionSensitivity", EDK_USUARIO_NO_VALIDO);
    int s[4] = {-1, -1, -1, -1};
    EXPECT_EQ(EE_CognitivGetActionSensitivity(7, &s[0], &s[1], &s[2], &s[3]), EDK_USUARIO_NO_VALIDO);
    EXPECT_EQ(s[0], -1);
    EXPECT_EQ(EE_CognitivSetActionSensitivity(7, 7, 4, 5, 6), 0);
    EXPECT_EQ(EE_CognitivGetActionSensitivity(7, &s[0], &s[1], &s[2], &s[3]), 0);
    EXPECT_EQ(s[0], 7);
    EXPECT_EQ(motor.LlamadasDe("EE_CognitivSetActionSensitivity"),
              std::vector<std::string> {"EE_CognitivSetActionSensitivity(7,7,4,5,6)"});
}

TEST_F(MotorPruebaTest, GyroQueueThenFixedValue)
{
    motor.GiroX = 5;
    motor.EncolarGiro(60, 1);
    motor.EncolarGiro(-51);
    int x = 0;
    int y = 0;
    std::vector<int> leidos;
    for (int i = 0; i < 3; ++i) {
        EE_HeadsetGetGyroDelta(0, &x, &y);
        leidos.push_back(x);
    }
    EXPECT_EQ(leidos, (std::vector<int> {60, -51, 5}));
}

TEST_F(MotorPruebaTest, RecordsCallsAndHandleMisuse)
{
    void* evento = EE_EmoEngineEventCreate();
    void* parametro = EE_OptimizationParamCreate();
    EE_OptimizationSetVitalAlgorithm(parametro, EDK_SUITE_COGNITIVA, 5);
    EE_EngineRemoteConnect("127.0.0.1", 1726);
    EE_OptimizationParamFree(parametro);
    EE_OptimizationParamFree(parametro);
    EXPECT_EQ(motor.Llamadas(), (std::vector<std::string> {
                                    "EE_EmoEngineEventCreate()",
                                    "EE_OptimizationParamCreate()",
                                    "EE_OptimizationSetVitalAlgorithm(P1,2,5)",
                                    "EE_EngineRemoteConnect(\"127.0.0.1\",1726)",
                                    "EE_OptimizationParamFree(P1)",
                                    "EE_OptimizationParamFree(P1)",
                                }));
    EXPECT_EQ(motor.Liberaciones(parametro), 2);
    EXPECT_EQ(motor.Liberaciones(evento), 0);
    EXPECT_FALSE(motor.TodoLiberado());
    EXPECT_EQ(motor.Anomalias().size(), 1u);

    // A handle from before a reset is unknown afterwards and never reused.
    motor.Reiniciar();
    void* nuevo = EE_EmoEngineEventCreate();
    EXPECT_NE(nuevo, evento);
    EXPECT_EQ(EE_EngineGetNextEvent(evento), EDK_PARAMETRO_NO_VALIDO);
    EXPECT_EQ(motor.Anomalias().size(), 1u);
}

} // namespace
