// The remote link against a small loopback server written into the test:
// address parsing, connecting, the greeting, events, and every way the link
// is lost. No poll blocks and every wait is bounded.
#include "EnlaceRemoto.h"
#include "Protocolo.h"
#include "ServidorPrueba.h"
#include "edk.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Reloj = std::chrono::steady_clock;

// Polls until something other than "no events" comes, or the time is up.
int Esperar(edk::TFuenteEventos& fuente, edk::TEvento& evento, int esperaMs = 2000)
{
    const auto limite = Reloj::now() + std::chrono::milliseconds(esperaMs);
    int r = EDK_SIN_EVENTOS;
    while ((r = fuente.Siguiente(evento)) == EDK_SIN_EVENTOS && Reloj::now() < limite)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return r;
}

struct TEnlaceConServidor {
    TServidorPrueba Servidor;
    std::unique_ptr<edk::TFuenteEventos> Fuente;

    // Connects to a server that greets, and whatever else the test adds to
    // its first write.
    explicit TEnlaceConServidor(const std::string& tras = "")
    {
        Servidor.AtenderEnParalelo(edk::Saludo() + "\n" + tras);
        int codigo = -1;
        Fuente = edk::ConectarRemoto("127.0.0.1", Servidor.Puerto(), codigo);
        EXPECT_EQ(codigo, EDK_SIN_ERRORES);
        EXPECT_TRUE(Fuente);
        EXPECT_TRUE(Servidor.Atendido());
    }
};

const std::string LineaEstado = "ESTADO 1 2.5 4 0.75 256 0.5 2 3 4 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,2 60 0\n";

} // namespace

TEST(DireccionIPv4, Casos)
{
    struct TCaso {
        const char* Texto;
        bool Valida;
        std::uint32_t Direccion;
    };
    const TCaso casos[] = {
        {"127.0.0.1", true, 0x7F000001},
        {"127.000.0.001", true, 0x7F000001}, // leading zeros are decimal
        {"010.0.0.8", true, 0x0A000008}, // never octal
        {"0.0.0.0", true, 0},
        {"255.255.255.255", true, 0xFFFFFFFF},
        {"192.168.1.20", true, 0xC0A80114},
        {"256.0.0.1", false, 0},
        {"1.2.3.999", false, 0},
        {"1.2.3", false, 0},
        {"1.2.3.4.5", false, 0},
        {"", false, 0},
        {"1..3.4", false, 0},
        {".1.2.3", false, 0},
        {"1.2.3.", false, 0},
        {"0001.2.3.4", false, 0},
        {" 1.2.3.4", false, 0},
        {"1.2.3.4 ", false, 0},
        {"1. 2.3.4", false, 0},
        {"+1.2.3.4", false, 0},
        {"-1.2.3.4", false, 0},
        {"1.2.3.4\n", false, 0},
        {"0x7f.0.0.1", false, 0},
        {"localhost", false, 0},
        {"127.0.0.1.0000000000000000", false, 0},
    };
    for (const TCaso& c : casos) {
        std::uint32_t d = 0xDEADBEEF;
        EXPECT_EQ(edk::LeerDireccionIPv4(c.Texto, d), c.Valida) << c.Texto;
        EXPECT_EQ(d, c.Valida ? c.Direccion : 0xDEADBEEF) << c.Texto;
    }
    std::uint32_t d = 0;
    EXPECT_FALSE(edk::LeerDireccionIPv4(nullptr, d));
}

TEST(ConectarRemoto, ParametrosNoValidos)
{
    TServidorPrueba servidor;
    struct TCaso {
        const char* Direccion;
        std::uint16_t Puerto;
    };
    for (const TCaso& c : {TCaso {nullptr, servidor.Puerto()}, TCaso {"127.0.0", servidor.Puerto()},
                           TCaso {"127.0.0.256", servidor.Puerto()}, TCaso {"127.0.0.1", 0}}) {
        int codigo = -1;
        EXPECT_EQ(edk::ConectarRemoto(c.Direccion, c.Puerto, codigo), nullptr);
        EXPECT_EQ(codigo, EDK_PARAMETRO_NO_VALIDO) << (c.Direccion ? c.Direccion : "(nulo)") << ':' << c.Puerto;
    }
}

TEST(ConectarRemoto, NadieEscuchaDaConexionImposible)
{
    TPuertoSinEscucha puerto;
    int codigo = -1;
    const auto inicio = Reloj::now();
    EXPECT_EQ(edk::ConectarRemoto("127.0.0.1", puerto.Puerto(), codigo), nullptr);
    EXPECT_EQ(codigo, EDK_CONEXION_REMOTA_IMPOSIBLE);
    EXPECT_LT(Reloj::now() - inicio, std::chrono::seconds(2));
}

// Something that accepts connections but is not the emulator is not a
// connection: a silent one is given up after the limit, a wrong answer at once.
TEST(ConectarRemoto, SoloElSaludoDelEmuladorConecta)
{
    struct TCaso {
        const char* Nombre;
        bool Aceptar;
        std::string Respuesta;
        bool Cerrar;
        std::chrono::milliseconds Minimo;
        std::chrono::milliseconds Maximo;
    };
    using std::chrono::milliseconds;
    const TCaso casos[] = {
        {"escucha y nunca acepta", false, "", false, milliseconds(1500), milliseconds(3500)},
        {"acepta y calla", true, "", false, milliseconds(1500), milliseconds(3500)},
        {"saludo equivocado", true, "GEDANKO-EMU 9\nUSUARIO_ANADIDO 1\n", false, milliseconds(0), milliseconds(1000)},
        {"evento antes del saludo", true, "USUARIO_ANADIDO 1\n" + edk::Saludo() + "\n", false, milliseconds(0),
         milliseconds(1000)},
        {"un servidor web", true, "HTTP/1.1 200 OK\r\n", false, milliseconds(0), milliseconds(1000)},
        {"cierra sin decir nada", true, "", true, milliseconds(0), milliseconds(1000)},
        {"linea larga sin final", true, std::string(2 * edk::LongitudMaximaLinea, 'E'), false, milliseconds(0),
         milliseconds(1000)},
    };
    for (const TCaso& c : casos) {
        SCOPED_TRACE(c.Nombre);
        TServidorPrueba servidor;
        std::thread atencion;
        if (c.Aceptar) {
            atencion = std::thread([&] {
                if (servidor.Aceptar() && servidor.Enviar(c.Respuesta) && c.Cerrar)
                    servidor.CerrarCliente();
            });
        }
        int codigo = -1;
        const auto inicio = Reloj::now();
        const auto fuente = edk::ConectarRemoto("127.0.0.1", servidor.Puerto(), codigo);
        const auto duracion = Reloj::now() - inicio;
        if (atencion.joinable())
            atencion.join();
        EXPECT_EQ(fuente, nullptr);
        EXPECT_EQ(codigo, EDK_CONEXION_REMOTA_IMPOSIBLE);
        EXPECT_GE(duracion, c.Minimo);
        EXPECT_LT(duracion, c.Maximo);
    }
}

// Lines written together with the greeting are not lost with it.
TEST(EnlaceRemoto, SaludoYEventosLlegan)
{
    TEnlaceConServidor e("USUARIO_ANADIDO 1\n" + LineaEstado + "GIRO_CALIBRADO 1\r\nEVENTO 128 1\n");
    edk::TEvento ev;
    ASSERT_EQ(Esperar(*e.Fuente, ev), EDK_SIN_ERRORES);
    EXPECT_EQ(ev.Tipo, EE_UserAdded);
    EXPECT_EQ(ev.Usuario, 1u);
    ASSERT_EQ(Esperar(*e.Fuente, ev), EDK_SIN_ERRORES);
    EXPECT_EQ(ev.Tipo, EE_EmoStateUpdated);
    EXPECT_EQ(ev.Estado.AccionExpresiva, 256u);
    EXPECT_FLOAT_EQ(ev.Estado.PotenciaCognitiva, 0.75f);
    EXPECT_EQ(ev.Estado.Contactos[17], 2);
    EXPECT_EQ(ev.Estado.GiroX, 60);
    ASSERT_EQ(Esperar(*e.Fuente, ev), EDK_SIN_ERRORES); // CR LF is accepted as an end of line
    EXPECT_EQ(ev.Tipo, edk::TipoInternoGiroCalibrado);
    ASSERT_EQ(Esperar(*e.Fuente, ev), EDK_SIN_ERRORES);
    EXPECT_EQ(ev.Tipo, EE_ProfileEvent);
    EXPECT_EQ(e.Fuente->Siguiente(ev), EDK_SIN_EVENTOS);
}

TEST(EnlaceRemoto, LineaPartidaEnVariosEnviosSeRecompone)
{
    TEnlaceConServidor e;
    edk::TEvento ev;
    for (std::size_t i = 0; i < LineaEstado.size(); i += 7) {
        EXPECT_EQ(e.Fuente->Siguiente(ev), EDK_SIN_EVENTOS);
        ASSERT_TRUE(e.Servidor.Enviar(LineaEstado.substr(i, 7)));
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(Esperar(*e.Fuente, ev), EDK_SIN_ERRORES);
    EXPECT_EQ(ev.Tipo, EE_EmoStateUpdated);
}

TEST(EnlaceRemoto, LineaMalFormadaDaUnErrorDeEmuladorYSigue)
{
    TEnlaceConServidor e;
    ASSERT_TRUE(e.Servidor.Enviar("ESTADO roto\nUSUARIO_ANADIDO 2\n"));
    edk::TEvento ev;
    ASSERT_EQ(Esperar(*e.Fuente, ev), EDK_SIN_ERRORES);
    EXPECT_EQ(ev.Tipo, EE_EmulatorError);
    ASSERT_EQ(Esperar(*e.Fuente, ev), EDK_SIN_ERRORES);
    EXPECT_EQ(ev.Tipo, EE_UserAdded);
    EXPECT_EQ(ev.Usuario, 2u);
    EXPECT_EQ(e.Fuente->Siguiente(ev), EDK_SIN_EVENTOS);
}

// Each way of losing the link gives 0x0501 on that poll and on every later one.
TEST(EnlaceRemoto, PerdidasDelEnlace)
{
    struct TCaso {
        const char* Nombre;
        std::string Texto;
        bool Cerrar;
        int EventosAntes;
    };
    const std::string largo(edk::LongitudMaximaLinea, 'E');
    const TCaso casos[] = {
        {"linea demasiado larga", largo + "\n", false, 0},
        {"linea larga sin final", largo + largo + largo + largo + largo, false, 0},
        {"servidor cierra", "", true, 0},
        {"servidor cierra tras eventos", "USUARIO_ANADIDO 1\nUSUARIO_ELIMINADO 1\nESTADO a medi", true, 2},
    };
    for (const TCaso& c : casos) {
        SCOPED_TRACE(c.Nombre);
        TEnlaceConServidor e;
        if (!c.Texto.empty()) {
            ASSERT_TRUE(e.Servidor.Enviar(c.Texto));
        }
        if (c.Cerrar)
            e.Servidor.CerrarCliente();
        edk::TEvento ev;
        for (int i = 0; i < c.EventosAntes; ++i)
            ASSERT_EQ(Esperar(*e.Fuente, ev), EDK_SIN_ERRORES);
        EXPECT_EQ(Esperar(*e.Fuente, ev, 1000), EDK_CONEXION_REMOTA_PERDIDA);
        if (!c.Cerrar)
            e.Servidor.Enviar("USUARIO_ANADIDO 1\n"); // nothing more may get through
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(e.Fuente->Siguiente(ev), EDK_CONEXION_REMOTA_PERDIDA);
    }
}

TEST(EnlaceRemoto, LineaDelLargoMaximoSeAcepta)
{
    TEnlaceConServidor e;
    // A malformed line of exactly the longest size is a line, not an over-long one.
    ASSERT_TRUE(e.Servidor.Enviar(std::string(edk::LongitudMaximaLinea - 1, 'x') + "\nUSUARIO_ANADIDO 4\n"));
    edk::TEvento ev;
    ASSERT_EQ(Esperar(*e.Fuente, ev), EDK_SIN_ERRORES);
    EXPECT_EQ(ev.Tipo, EE_EmulatorError);
    ASSERT_EQ(Esperar(*e.Fuente, ev), EDK_SIN_ERRORES);
    EXPECT_EQ(ev.Tipo, EE_UserAdded);
}
