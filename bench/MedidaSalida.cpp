#include "MedidaSalida.h"
#include "Actuador.h"
#include "Proceso.h"
#include "Salida.h"

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int EsperaLineaMs = 2000;

long long Microsegundos()
{
    timespec t {};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

// gedanko-receptor from the program's folder (<build>/bin beside <build>/banco),
// its output and error output on one pipe.
class TReceptorProceso {
public:
    explicit TReceptorProceso(std::vector<std::string> argumentos)
    {
        char propio[PATH_MAX] = {};
        const ssize_t n = ::readlink("/proc/self/exe", propio, sizeof propio - 1);
        std::string ruta(propio, n > 0 ? static_cast<std::size_t>(n) : 0);
        ruta = ruta.substr(0, ruta.rfind('/')) + "/../bin/gedanko-receptor";
        int tubo[2];
        if (::pipe2(tubo, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t acciones;
        posix_spawn_file_actions_init(&acciones);
        posix_spawn_file_actions_adddup2(&acciones, tubo[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&acciones, tubo[1], STDERR_FILENO);
        argumentos.insert(argumentos.begin(), ruta);
        std::vector<char*> argv = Punteros(argumentos);
        if (::posix_spawn(&FPid, ruta.c_str(), &acciones, nullptr, argv.data(), environ) != 0)
            FPid = -1;
        posix_spawn_file_actions_destroy(&acciones);
        ::close(tubo[1]);
        FLectura = tubo[0];
    }
    ~TReceptorProceso()
    {
        if (FPid > 0) {
            ::kill(FPid, SIGKILL);
            ::waitpid(FPid, nullptr, 0);
        }
        ::close(FLectura);
    }
    TReceptorProceso(const TReceptorProceso&) = delete;
    TReceptorProceso& operator=(const TReceptorProceso&) = delete;

    std::optional<std::string> Linea()
    {
        for (;;) {
            const std::size_t fin = FTexto.find('\n');
            if (fin != std::string::npos) {
                std::string linea = FTexto.substr(0, fin);
                FTexto.erase(0, fin + 1);
                return linea;
            }
            pollfd p {FLectura, POLLIN, 0};
            if (::poll(&p, 1, EsperaLineaMs) != 1)
                return std::nullopt;
            char buf[512];
            const ssize_t n = ::read(FLectura, buf, sizeof buf);
            if (n <= 0)
                return std::nullopt;
            FTexto.append(buf, static_cast<std::size_t>(n));
        }
    }

private:
    pid_t FPid = -1;
    int FLectura = -1;
    std::string FTexto;
};

// The next output change with forward on or off as asked; its time stamp in
// microseconds.
std::optional<long long> CambioA(TReceptorProceso& receptor, int avance)
{
    while (const std::optional<std::string> linea = receptor.Linea()) {
        double instante = 0;
        int a = 0;
        if (std::sscanf(linea->c_str(), "%lf avance=%d", &instante, &a) == 2 && a == avance)
            return std::llround(instante * 1e6);
    }
    return std::nullopt;
}

double Percentil(std::vector<double> valores, double p)
{
    std::sort(valores.begin(), valores.end());
    return valores[std::min(valores.size() - 1, static_cast<std::size_t>(p * double(valores.size())))];
}

bool Medir(const char* nombre, const std::vector<std::string>& argumentos, const std::string& prefijo, int ordenes,
           TFiguras& figuras)
{
    TReceptorProceso receptor(argumentos);
    const std::optional<std::string> anuncio = receptor.Linea();
    const std::string marca = "escuchando en ";
    if (!anuncio || anuncio->find(marca) == std::string::npos) {
        std::fprintf(stderr, "%s: gedanko-receptor did not start\n", nombre);
        return false;
    }
    const QString destino = QString::fromStdString(prefijo + anuncio->substr(anuncio->find(marca) + marca.size()));
    TActuador actuador(destino, nullptr);
    if (!actuador.Habilitar(true)) {
        std::fprintf(stderr, "%s: %s\n", nombre, qPrintable(actuador.CausaError()));
        return false;
    }
    receptor.Linea(); // the power-up line
    std::vector<double> latencias;
    for (int i = 0; i < ordenes; ++i) {
        const int avance = i % 2 == 0 ? 1 : 0;
        const long long decision = Microsegundos();
        actuador.Mover(avance ? dirAvance : dirNinguna, giroNinguno);
        const std::optional<long long> cambio = CambioA(receptor, avance);
        if (!cambio) {
            std::fprintf(stderr, "%s: command %d never reached the receiver\n", nombre, i);
            return false;
        }
        latencias.push_back(double(*cambio - decision));
        QCoreApplication::processEvents();
    }
    const double maximo = *std::max_element(latencias.begin(), latencias.end());
    std::fprintf(stderr, "%s: %d commands, latency p50 %.3f ms, p99 %.3f ms, max %.3f ms\n", nombre, ordenes,
                 Percentil(latencias, 0.50) / 1e3, Percentil(latencias, 0.99) / 1e3, maximo / 1e3);
    figuras.emplace_back(std::string(nombre) + "_p50_us", Percentil(latencias, 0.50));
    figuras.emplace_back(std::string(nombre) + "_p99_us", Percentil(latencias, 0.99));
    figuras.emplace_back(std::string(nombre) + "_max_us", maximo);
    return true;
}

} // namespace

int TMedidaSalida::Ejecutar(int ordenes)
{
    int argc = 1;
    char nombre[] = "gedanko-banco";
    char* argv[] = {nombre, nullptr};
    QCoreApplication aplicacion(argc, argv);
    TFiguras figuras;
    const bool pty = Medir("pty", {"--pty"}, "serie:", ordenes, figuras);
    const bool udp = Medir("udp", {"--udp", "127.0.0.1:0"}, "udp:", ordenes, figuras);
    ImprimirFiguras(figuras);
    return pty && udp ? 0 : 1;
}
