// The remote link through the engine's C API in libedk.so: what the program
// sees when it connects to an emulator by address and port.
#include "ServidorPrueba.h"
#include "edk.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace {

using Reloj = std::chrono::steady_clock;

int EsperarEvento(EmoEngineEventHandle evento, int esperaMs = 2000)
{
    const auto limite = Reloj::now() + std::chrono::milliseconds(esperaMs);
    int r = EDK_SIN_EVENTOS;
    while ((r = EE_EngineGetNextEvent(evento)) == EDK_SIN_EVENTOS && Reloj::now() < limite)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return r;
}

class ApiRemota : public testing::Test {
protected:
    void SetUp() override
    {
        Evento = EE_EmoEngineEventCreate();
        Estado = EE_EmoStateCreate();
    }
    void TearDown() override
    {
        EE_EngineDisconnect();
        EE_EmoStateFree(Estado);
        EE_EmoEngineEventFree(Evento);
    }
    EmoEngineEventHandle Evento = nullptr;
    EmoStateHandle Estado = nullptr;
};

} // namespace

TEST_F(ApiRemota, CodigosDeConexion)
{
    EXPECT_EQ(EE_EngineRemoteConnect(nullptr, 1726), EDK_PARAMETRO_NO_VALIDO);
    EXPECT_EQ(EE_EngineRemoteConnect("127.0.0.1.5", 1726), EDK_PARAMETRO_NO_VALIDO);
    EXPECT_EQ(EE_EngineRemoteConnect("127.0.0.1", 0), EDK_PARAMETRO_NO_VALIDO);
    TPuertoSinEscucha nadie;
    EXPECT_EQ(EE_EngineRemoteConnect("127.0.0.1", nadie.Puerto()), EDK_CONEXION_REMOTA_IMPOSIBLE);
    EXPECT_EQ(EE_EngineGetNextEvent(Evento), EDK_MOTOR_NO_INICIALIZADO); // a failed connect leaves no engine
}

TEST_F(ApiRemota, EventosDelServidorYPerdidaDelEnlace)
{
    TServidorPrueba servidor;
    servidor.AtenderEnParalelo("GEDANKO-EMU 1\nUSUARIO_ANADIDO 1\n"
                               "ESTADO 1 12.5 4 0.25 1 0 2 3 4 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,1 -7 0\n"
                               "esto no es una linea del protocolo\n");
    ASSERT_EQ(EE_EngineRemoteConnect("127.000.000.001", servidor.Puerto()), EDK_SIN_ERRORES);
    ASSERT_TRUE(servidor.Atendido());
    ASSERT_EQ(EsperarEvento(Evento), EDK_SIN_ERRORES);
    EXPECT_EQ(EE_EmoEngineEventGetType(Evento), EE_UserAdded);
    unsigned int usuario = 99;
    EXPECT_EQ(EE_EmoEngineEventGetUserId(Evento, &usuario), EDK_SIN_ERRORES);
    EXPECT_EQ(usuario, 1u);

    ASSERT_EQ(EsperarEvento(Evento), EDK_SIN_ERRORES);
    ASSERT_EQ(EE_EmoEngineEventGetType(Evento), EE_EmoStateUpdated);
    ASSERT_EQ(EE_EmoEngineEventGetEmoState(Evento, Estado), EDK_SIN_ERRORES);
    EXPECT_EQ(ES_CognitivGetCurrentAction(Estado), unsigned(ACC_COG_TIRAR));
    EXPECT_FLOAT_EQ(ES_CognitivGetCurrentActionPower(Estado), 0.25f);
    EXPECT_FLOAT_EQ(ES_GetTimeFromStart(Estado), 12.5f);
    EXPECT_EQ(ES_GetWirelessSignalStatus(Estado), 2);
    int nivel = 0;
    int maximo = 0;
    ES_GetBatteryChargeLevel(Estado, &nivel, &maximo);
    EXPECT_EQ(nivel, 3);
    EXPECT_EQ(maximo, 4);
    int contactos[EDK_NUM_CANALES] = {};
    ES_GetContactQualityFromAllChannels(Estado, contactos, EDK_NUM_CANALES);
    EXPECT_EQ(contactos[0], 4);
    EXPECT_EQ(contactos[17], 1);

    ASSERT_EQ(EsperarEvento(Evento), EDK_SIN_ERRORES);
    EXPECT_EQ(EE_EmoEngineEventGetType(Evento), EE_EmulatorError);

    servidor.CerrarCliente();
    EXPECT_EQ(EsperarEvento(Evento, 1000), EDK_CONEXION_REMOTA_PERDIDA);
    EXPECT_EQ(EE_EngineGetNextEvent(Evento), EDK_CONEXION_REMOTA_PERDIDA);
}

// A server that answers with anything but the greeting is not connected to.
TEST_F(ApiRemota, SaludoEquivocadoNoConecta)
{
    TServidorPrueba servidor;
    servidor.AtenderEnParalelo("HTTP/1.1 200 OK\r\n");
    EXPECT_EQ(EE_EngineRemoteConnect("127.0.0.1", servidor.Puerto()), EDK_CONEXION_REMOTA_IMPOSIBLE);
    EXPECT_TRUE(servidor.Atendido());
    EXPECT_EQ(EE_EngineGetNextEvent(Evento), EDK_MOTOR_NO_INICIALIZADO);
}
