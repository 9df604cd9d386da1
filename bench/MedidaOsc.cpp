#include "MedidaOsc.h"

#include "EmuladorBanco.h"
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
    TEmuladorBanco emulador(carpetaBin, {"--puerto", "0", "--osc", "0", "--tasa", "1"});
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
        // A clench of power 0.01..0.99 and the neutral expression in turn: each
        // a new detected action, which is served at once; its text on the wire.
        const bool aprieta = i % 2 == 0;
        const int centesimas = 1 + i % 99;
        const float potencia = aprieta ? static_cast<float>(centesimas) / 100 : 0.0F;
        // Written as the protocol writes it: the shortest text of the float.
        char numero[32];
        const auto fin = std::to_chars(numero, numero + sizeof numero, potencia).ptr;
        const std::string texto = aprieta ? " 256 " + std::string(numero, fin) + " " : std::string(" 1 0 1 0 ");
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
