// The real gedanko-emulador process on an ephemeral loopback port, reached
// through the engine's remote link.
#include "EnlaceRemoto.h"
#include "ProcesoEmulador.h"
#include "edk.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Reloj = std::chrono::steady_clock;

// Polls until an event satisfies 'vale' (answer 0), the link is lost
// (answer 0x0501) or the time is over (answer 0x0600).
template <typename F> int EsperarEvento(edk::TFuenteEventos& fuente, F vale, int esperaMs = 5000)
{
    const auto limite = Reloj::now() + std::chrono::milliseconds(esperaMs);
    edk::TEvento e;
    while (Reloj::now() < limite) {
        const int r = fuente.Siguiente(e);
        if (r == EDK_SIN_ERRORES && vale(e))
            return r;
        if (r == EDK_CONEXION_REMOTA_PERDIDA)
            return r;
        if (r == EDK_SIN_EVENTOS)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return EDK_SIN_EVENTOS;
}

std::unique_ptr<edk::TFuenteEventos> Conectar(std::uint16_t puerto)
{
    int codigo = -1;
    auto f = edk::ConectarRemoto("127.0.0.1", puerto, codigo);
    EXPECT_EQ(codigo, EDK_SIN_ERRORES);
    return f;
}

auto EsDelTipo(int tipo)
{
    return [tipo](const edk::TEvento& e) { return e.Tipo == tipo; };
}

} // namespace

TEST(ProcesoEmulador, DemoLlegaPorElEnlaceYMatarloPierdeLaConexion)
{
    TProcesoEmulador emulador({"--puerto", "0", "--tasa", "50"});
    const std::uint16_t puerto = emulador.Puerto();
    ASSERT_NE(puerto, 0) << emulador.Texto();
    auto fuente = Conectar(puerto);
    ASSERT_TRUE(fuente);
    EXPECT_EQ(EsperarEvento(*fuente, EsDelTipo(EE_UserAdded)), EDK_SIN_ERRORES);
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(EsperarEvento(*fuente, EsDelTipo(EE_EmoStateUpdated)), EDK_SIN_ERRORES);

    // A live change at the console reaches the client.
    ASSERT_TRUE(emulador.Escribir("apretar 0.8\n"));
    EXPECT_EQ(EsperarEvento(*fuente,
                            [](const edk::TEvento& e) {
                                return e.Tipo == EE_EmoStateUpdated
                                       && e.Estado.AccionExpresiva == ACC_EXP_APRETAR_DIENTES
                                       && e.Estado.PotenciaExpresiva == 0.8f;
                            }),
              EDK_SIN_ERRORES);

    // A second client gets its own playback from the start.
    auto segunda = Conectar(puerto);
    ASSERT_TRUE(segunda);
    EXPECT_EQ(EsperarEvento(*segunda, EsDelTipo(EE_UserAdded)), EDK_SIN_ERRORES);
    EXPECT_TRUE(emulador.EsperarTexto("cliente conectado"));

    emulador.Senal(SIGKILL);
    EXPECT_EQ(EsperarEvento(
                  *fuente, [](const edk::TEvento&) { return false; }, 1000),
              EDK_CONEXION_REMOTA_PERDIDA);
    edk::TEvento e;
    EXPECT_EQ(fuente->Siguiente(e), EDK_CONEXION_REMOTA_PERDIDA);
}

TEST(ProcesoEmulador, SigtermYSalirParanEnOrden)
{
    for (const bool porConsola : {false, true}) {
        SCOPED_TRACE(porConsola ? "salir" : "SIGTERM");
        TProcesoEmulador emulador({"--puerto", "0"});
        const std::uint16_t puerto = emulador.Puerto();
        ASSERT_NE(puerto, 0) << emulador.Texto();
        auto fuente = Conectar(puerto);
        ASSERT_TRUE(fuente);
        ASSERT_EQ(EsperarEvento(*fuente, EsDelTipo(EE_EmoStateUpdated)), EDK_SIN_ERRORES);
        if (porConsola) {
            ASSERT_TRUE(emulador.Escribir("salir\n"));
        } else {
            emulador.Senal(SIGTERM);
        }
        EXPECT_EQ(emulador.EsperarSalida(), 0);
        EXPECT_TRUE(emulador.EsperarTexto("deteniendo el emulador", 1000)) << emulador.Texto();
        EXPECT_EQ(EsperarEvento(
                      *fuente, [](const edk::TEvento&) { return false; }, 1000),
                  EDK_CONEXION_REMOTA_PERDIDA);
    }
}

TEST(ProcesoEmulador, ClienteQueSeVaSeRegistraYElServidorSigue)
{
    TProcesoEmulador emulador({"--puerto", "0", "--tasa", "200"});
    const std::uint16_t puerto = emulador.Puerto();
    ASSERT_NE(puerto, 0) << emulador.Texto();
    {
        auto fuente = Conectar(puerto);
        ASSERT_TRUE(fuente);
        ASSERT_EQ(EsperarEvento(*fuente, EsDelTipo(EE_EmoStateUpdated)), EDK_SIN_ERRORES);
    } // leaves with unread data pending on the server's side
    EXPECT_TRUE(emulador.EsperarTexto("cliente desconectado"));
    auto otra = Conectar(puerto);
    ASSERT_TRUE(otra);
    EXPECT_EQ(EsperarEvento(*otra, EsDelTipo(EE_EmoStateUpdated)), EDK_SIN_ERRORES);
    EXPECT_TRUE(emulador.Vivo());
}

TEST(ProcesoEmulador, EscenarioConErroresSeRechazaAlArrancar)
{
    const std::string ruta = testing::TempDir() + "escenario_malo.txt";
    std::ofstream(ruta) << "0 alta 1\n0.5 volar alto\n";
    TProcesoEmulador emulador({"--puerto", "0", "--escenario", ruta});
    EXPECT_EQ(emulador.EsperarSalida(), 2);
    EXPECT_TRUE(emulador.EsperarTexto("línea 2:", 1000)) << emulador.Texto();
    std::remove(ruta.c_str());
}

TEST(ProcesoEmulador, OpcionNoValidaYAyuda)
{
    TProcesoEmulador malo({"--tasa", "0"});
    EXPECT_EQ(malo.EsperarSalida(), 2);
    TProcesoEmulador ayuda({"--help"});
    EXPECT_EQ(ayuda.EsperarSalida(), 0);
}
