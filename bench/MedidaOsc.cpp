#include "MedidaOsc.h"

#include "Muestras.h"

#include <lo/lo.h>

#include <arpa/inet.h>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Reloj = std::chrono::steady_clock;
constexpr int EsperaMs = 5000;

// The emulator process: its error output read for the ports it announces.
class TEmulador {
public:
    explicit TEmulador(const std::string& carpetaBin)
    {
        int errores[2];
        if (::pipe2(errores, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t acciones;
        posix_spawn_file_actions_init(&acciones);
        posix_spawn_file_actions_addopen(&acciones, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&acciones, errores[1], STDERR_FILENO);
        std::string ruta = carpetaBin + "/gedanko-emulador";
        std::string a[] = {ruta, "--puerto", "0", "--osc", "0", "--tasa", "1"};
        char* argv[]
            = {a[0].data(), a[1].data(), a[2].data(), a[3].data(), a[4].data(), a[5].data(), a[6].data(), nullptr};
        if (::posix_spawn(&FPid, ruta.c_str(), &acciones, nullptr, argv, environ) != 0)
            FPid = -1;
        posix_spawn_file_actions_destroy(&acciones);
        ::close(errores[1]);
        FErrores = errores[0];
    }
    ~TEmulador()
    {
        if (FPid > 0) {
            ::kill(FPid, SIGTERM);
            ::waitpid(FPid, nullptr, 0);
        }
        if (FErrores >= 0)
            ::close(FErrores);
    }
    TEmulador(const TEmulador&) = delete;
    TEmulador& operator=(const TEmulador&) = delete;

    // The number after 'marca' in the error output, 0 when it does not come in time.
    int Numero(const std::string& marca)
    {
        const auto limite = Reloj::now() + std::chrono::milliseconds(EsperaMs);
        std::size_t i = 0;
        while ((i = FTexto.find(marca)) == std::string::npos
               || FTexto.find(' ', i + marca.size()) == std::string::npos) {
            pollfd p {FErrores, POLLIN, 0};
            char buf[512];
            ssize_t n = 0;
            if (Reloj::now() > limite || ::poll(&p, 1, 100) < 0
                || ((p.revents & POLLIN) && (n = ::read(FErrores, buf, sizeof buf)) <= 0))
                return 0;
            FTexto.append(buf, static_cast<std::size_t>(n > 0 ? n : 0));
        }
        return std::stoi(FTexto.substr(i + marca.size()));
    }

private:
    pid_t FPid = -1;
    int FErrores = -1;
    std::string FTexto;
};

int Conectar(int puerto)
{
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in dir {};
    dir.sin_family = AF_INET;
    dir.sin_port = htons(static_cast<std::uint16_t>(puerto));
    dir.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (s >= 0 && ::connect(s, reinterpret_cast<const sockaddr*>(&dir), sizeof dir) == 0)
        return s;
    if (s >= 0)
        ::close(s);
    return -1;
}

// Reads lines until one contains 'buscado'; false when none comes in time.
bool EsperarLinea(int s, std::string& pendiente, const std::string& buscado)
{
    const auto limite = Reloj::now() + std::chrono::milliseconds(EsperaMs);
    while (Reloj::now() < limite) {
        for (std::size_t fin; (fin = pendiente.find('\n')) != std::string::npos;) {
            const bool esta = pendiente.compare(0, 7, "ESTADO ") == 0
                              && pendiente.substr(0, fin).find(buscado) != std::string::npos;
            pendiente.erase(0, fin + 1);
            if (esta)
                return true;
        }
        pollfd p {s, POLLIN, 0};
        char buf[4096];
        if (::poll(&p, 1, 100) > 0) {
            const ssize_t n = ::recv(s, buf, sizeof buf, 0);
            if (n <= 0)
                return false;
            pendiente.append(buf, static_cast<std::size_t>(n));
        }
    }
    return false;
}

} // namespace

int TMedidaOsc::Ejecutar(const std::string& carpetaBin, int muestras)
{
    TEmulador emulador(carpetaBin);
    const int puerto = emulador.Numero("escuchando en 127.0.0.1:");
    const int puertoOsc = emulador.Numero("escuchando OSC en UDP 0.0.0.0:");
    if (puerto <= 0 || puertoOsc <= 0) {
        std::fprintf(stderr, "banco: gedanko-emulador did not start from %s\n", carpetaBin.c_str());
        return 1;
    }
    const int s = Conectar(puerto);
    if (s < 0) {
        std::fprintf(stderr, "banco: cannot connect to gedanko-emulador\n");
        return 1;
    }
    lo_address destino = lo_address_new("127.0.0.1", std::to_string(puertoOsc).c_str());
    std::string pendiente;
    TMuestras latencias;
    latencias.Reservar(static_cast<std::size_t>(muestras));
    bool bien = EsperarLinea(s, pendiente, "");
    for (int i = 0; bien && i < muestras; ++i) {
        // Powers 0.01..0.99, each different from the one before; its text on the wire.
        const int centesimas = 1 + i % 99;
        const float potencia = static_cast<float>(centesimas) / 100;
        // Written as the protocol writes it: the shortest text of the float.
        char numero[32];
        const auto fin = std::to_chars(numero, numero + sizeof numero, potencia).ptr;
        const std::string texto = " 256 " + std::string(numero, fin) + " ";
        const auto enviado = Reloj::now();
        lo_send(destino, "/gedanko/avance", "f", potencia);
        bien = EsperarLinea(s, pendiente, texto);
        latencias.Anadir(std::chrono::duration<double, std::milli>(Reloj::now() - enviado).count());
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    lo_address_free(destino);
    ::close(s);
    if (!bien) {
        std::fprintf(stderr, "banco: a change did not reach the wire\n");
        return 1;
    }
    std::printf("OSC packet sent to its EmoState line received, %d changes at 1 EmoState/s: "
                "p50 %.3f ms, p99 %.3f ms, max %.3f ms (target p99 <= 2 ms)\n",
                muestras, latencias.Mediana(), latencias.Percentil(99), latencias.Maximo());
    return latencias.Percentil(99) <= 2.0 ? 0 : 1;
}
