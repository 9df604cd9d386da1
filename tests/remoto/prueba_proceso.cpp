// The real gedanko-emulador process on an ephemeral loopback port, reached
// through the engine's remote link. Every wait is bounded; a process left
// running is killed by the fixture.
#include "EnlaceRemoto.h"
#include "edk.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <limits.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Reloj = std::chrono::steady_clock;

std::string RutaEmulador()
{
    char ruta[PATH_MAX] = {};
    const ssize_t n = ::readlink("/proc/self/exe", ruta, sizeof ruta - 1);
    std::string s(ruta, n > 0 ? static_cast<std::size_t>(n) : 0);
    return s.substr(0, s.rfind('/') + 1) + "gedanko-emulador";
}

class TProcesoEmulador {
public:
    explicit TProcesoEmulador(std::vector<std::string> argumentos)
    {
        int entrada[2];
        int errores[2];
        if (::pipe2(entrada, O_CLOEXEC) != 0 || ::pipe2(errores, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t acciones;
        posix_spawn_file_actions_init(&acciones);
        posix_spawn_file_actions_adddup2(&acciones, entrada[0], STDIN_FILENO);
        posix_spawn_file_actions_addopen(&acciones, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&acciones, errores[1], STDERR_FILENO);
        const std::string ruta = RutaEmulador();
        argumentos.insert(argumentos.begin(), ruta);
        std::vector<char*> argv;
        for (std::string& a : argumentos)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&FPid, ruta.c_str(), &acciones, nullptr, argv.data(), environ) != 0)
            FPid = -1;
        posix_spawn_file_actions_destroy(&acciones);
        ::close(entrada[0]);
        ::close(errores[1]);
        FEntrada = entrada[1];
        FErrores = errores[0];
    }

    ~TProcesoEmulador()
    {
        if (FPid > 0 && !FTerminado) {
            ::kill(FPid, SIGKILL);
            ::waitpid(FPid, nullptr, 0);
        }
        if (FEntrada >= 0)
            ::close(FEntrada);
        if (FErrores >= 0)
            ::close(FErrores);
    }

    bool Vivo() const { return FPid > 0 && !FTerminado; }

    // Reads standard error until 'texto' shows up or the time is over.
    bool EsperarTexto(const std::string& texto, int esperaMs = 10000)
    {
        const auto limite = Reloj::now() + std::chrono::milliseconds(esperaMs);
        while (FTextoErrores.find(texto) == std::string::npos) {
            const auto resto = std::chrono::duration_cast<std::chrono::milliseconds>(limite - Reloj::now()).count();
            pollfd p{FErrores, POLLIN, 0};
            if (resto <= 0 || ::poll(&p, 1, static_cast<int>(resto)) != 1)
                return false;
            char buf[512];
            const ssize_t n = ::read(FErrores, buf, sizeof buf);
            if (n <= 0)
                return false;
            FTextoErrores.append(buf, static_cast<std::size_t>(n));
        }
        return true;
    }

    // The port announced at start-up, 0 when none came in time.
    std::uint16_t Puerto()
    {
        const std::string marca = "escuchando en 127.0.0.1:";
        if (!EsperarTexto(marca) || !EsperarTexto(" ("))
            return 0;
        const std::size_t i = FTextoErrores.find(marca) + marca.size();
        return static_cast<std::uint16_t>(std::stoi(FTextoErrores.substr(i, 5)));
    }

    bool Escribir(const std::string& texto) { return ::write(FEntrada, texto.data(), texto.size()) == static_cast<ssize_t>(texto.size()); }
    void Senal(int senal) { ::kill(FPid, senal); }

    // Exit status after the process ended by itself, -1 when it did not in time.
    int EsperarSalida(int esperaMs = 5000)
    {
        const auto limite = Reloj::now() + std::chrono::milliseconds(esperaMs);
        while (Reloj::now() < limite) {
            int estado = 0;
            if (::waitpid(FPid, &estado, WNOHANG) == FPid) {
                FTerminado = true;
                return WIFEXITED(estado) ? WEXITSTATUS(estado) : 128 + WTERMSIG(estado);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    const std::string& TextoErrores() const { return FTextoErrores; }

private:
    pid_t FPid = -1;
    int FEntrada = -1;
    int FErrores = -1;
    bool FTerminado = false;
    std::string FTextoErrores;
};

// Polls until an event satisfies 'vale' (answer 0), the link is lost
// (answer 0x0501) or the time is over (answer 0x0600).
template <typename F>
int EsperarEvento(edk::TFuenteEventos& fuente, F vale, int esperaMs = 5000)
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
    ASSERT_NE(puerto, 0) << emulador.TextoErrores();
    auto fuente = Conectar(puerto);
    ASSERT_TRUE(fuente);
    EXPECT_EQ(EsperarEvento(*fuente, EsDelTipo(EE_UserAdded)), EDK_SIN_ERRORES);
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(EsperarEvento(*fuente, EsDelTipo(EE_EmoStateUpdated)), EDK_SIN_ERRORES);

    // A live change at the console reaches the client.
    ASSERT_TRUE(emulador.Escribir("apretar 0.8\n"));
    EXPECT_EQ(EsperarEvento(*fuente, [](const edk::TEvento& e) {
                  return e.Tipo == EE_EmoStateUpdated && e.Estado.AccionExpresiva == ACC_EXP_APRETAR_DIENTES
                      && e.Estado.PotenciaExpresiva == 0.8f;
              }),
              EDK_SIN_ERRORES);

    // A second client gets its own playback from the start.
    auto segunda = Conectar(puerto);
    ASSERT_TRUE(segunda);
    EXPECT_EQ(EsperarEvento(*segunda, EsDelTipo(EE_UserAdded)), EDK_SIN_ERRORES);
    EXPECT_TRUE(emulador.EsperarTexto("cliente conectado"));

    emulador.Senal(SIGKILL);
    EXPECT_EQ(EsperarEvento(*fuente, [](const edk::TEvento&) { return false; }, 1000), EDK_CONEXION_REMOTA_PERDIDA);
    edk::TEvento e;
    EXPECT_EQ(fuente->Siguiente(e), EDK_CONEXION_REMOTA_PERDIDA);
}

TEST(ProcesoEmulador, SigtermYSalirParanEnOrden)
{
    for (const bool porConsola : {false, true}) {
        SCOPED_TRACE(porConsola ? "salir" : "SIGTERM");
        TProcesoEmulador emulador({"--puerto", "0"});
        const std::uint16_t puerto = emulador.Puerto();
        ASSERT_NE(puerto, 0) << emulador.TextoErrores();
        auto fuente = Conectar(puerto);
        ASSERT_TRUE(fuente);
        ASSERT_EQ(EsperarEvento(*fuente, EsDelTipo(EE_EmoStateUpdated)), EDK_SIN_ERRORES);
        if (porConsola) {
            ASSERT_TRUE(emulador.Escribir("salir\n"));
        } else {
            emulador.Senal(SIGTERM);
        }
        EXPECT_EQ(emulador.EsperarSalida(), 0);
        EXPECT_TRUE(emulador.EsperarTexto("deteniendo el emulador", 1000)) << emulador.TextoErrores();
        EXPECT_EQ(EsperarEvento(*fuente, [](const edk::TEvento&) { return false; }, 1000), EDK_CONEXION_REMOTA_PERDIDA);
    }
}

TEST(ProcesoEmulador, ClienteQueSeVaSeRegistraYElServidorSigue)
{
    TProcesoEmulador emulador({"--puerto", "0", "--tasa", "200"});
    const std::uint16_t puerto = emulador.Puerto();
    ASSERT_NE(puerto, 0) << emulador.TextoErrores();
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
    EXPECT_TRUE(emulador.EsperarTexto("línea 2:", 1000)) << emulador.TextoErrores();
    std::remove(ruta.c_str());
}

TEST(ProcesoEmulador, OpcionNoValidaYAyuda)
{
    TProcesoEmulador malo({"--tasa", "0"});
    EXPECT_EQ(malo.EsperarSalida(), 2);
    TProcesoEmulador ayuda({"--help"});
    EXPECT_EQ(ayuda.EsperarSalida(), 0);
}
