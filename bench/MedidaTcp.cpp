// gedanko-banco-tcp: end-to-end latency over real TCP, from the moment a
// server hands an EmoState line to send() to the Out32 of its command byte.
// The real window runs over the real engine (libedk.so) in "EmoComposer"
// mode; the server is a thread of this process that speaks the emulator's
// protocol with the emulator's own line formatting, at a steady rate, even
// states clenching and odd ones neutral, so every state changes the byte.
// Started by gedanko-banco; prints one RESULTADO line.
//
// With --osc the window is connected to a real gedanko-emulador fed with
// OSC instead: from each packet's send to the Out32 of its byte, forward
// and stop in turn, with a 256 Hz EEG stream alongside when asked.
//
//   gedanko-banco-tcp ESTADOS [ESTADOS_POR_SEGUNDO]
//   gedanko-banco-tcp --osc CAMBIOS [EEG_POR_SEGUNDO]
#include "EmuladorBanco.h"
#include "FormularioMain.h"
#include "Main.h"
#include "Muestras.h"
#include "OrdenVehiculo.h"
#include "PantallaX.h"
#include "PreparacionVentana.h"
#include "Procesador.h"
#include "Protocolo.h"
#include "PuertoDatos.h"
#include "PuertoSellado.h"
#include "Salida.h"

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <lo/lo.h>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Reloj = std::chrono::steady_clock;

std::int64_t Ahora()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Reloj::now().time_since_epoch()).count();
}

std::uint16_t OrdenEsperada(std::size_t indice)
{
    return indice % 2 == 0 ? OrdenVehiculo(dirAvance, giroNinguno) : OrdenParada;
}

std::string Linea(const edk::TEvento& evento)
{
    std::string linea;
    edk::FormatearEvento(evento, linea);
    return linea + "\n";
}

// The emulator's side: one client, the greeting, a user, then the states.
class TServidor {
public:
    bool Escuchar()
    {
        FEscucha = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in dir {};
        dir.sin_family = AF_INET;
        dir.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t largo = sizeof dir;
        return FEscucha >= 0 && ::bind(FEscucha, reinterpret_cast<sockaddr*>(&dir), sizeof dir) == 0
               && ::listen(FEscucha, 1) == 0 && ::getsockname(FEscucha, reinterpret_cast<sockaddr*>(&dir), &largo) == 0
               && (FPuerto = ntohs(dir.sin_port)) != 0;
    }
    std::uint16_t Puerto() const { return FPuerto; }

    void Servir(std::size_t estados, double porSegundo)
    {
        FEnviados.reserve(estados);
        FHilo = std::thread([this, estados, porSegundo] { Enviar(estados, porSegundo); });
    }
    void Esperar()
    {
        if (FHilo.joinable())
            FHilo.join();
        ::close(FEscucha);
    }
    // When each state's line went to send(), steady clock, in order.
    const std::vector<std::int64_t>& Enviados() const { return FEnviados; }

private:
    void Enviar(std::size_t estados, double porSegundo)
    {
        pollfd p {FEscucha, POLLIN, 0};
        if (::poll(&p, 1, 10'000) != 1)
            return;
        const int cliente = ::accept(FEscucha, nullptr, nullptr);
        if (cliente < 0)
            return;
        const int uno = 1;
        ::setsockopt(cliente, IPPROTO_TCP, TCP_NODELAY, &uno, sizeof uno);
        edk::TEvento alta;
        alta.Tipo = EE_UserAdded;
        alta.Usuario = 1;
        const std::string inicio = edk::Saludo() + "\n" + Linea(alta);
        if (::send(cliente, inicio.data(), inicio.size(), MSG_NOSIGNAL) < 0)
            return;
        const auto periodo = std::chrono::duration_cast<Reloj::duration>(std::chrono::duration<double>(1 / porSegundo));
        const Reloj::time_point comienzo = Reloj::now() + std::chrono::milliseconds(500);
        for (std::size_t i = 0; i < estados; ++i) {
            edk::TEvento evento;
            evento.Tipo = EE_EmoStateUpdated;
            evento.Usuario = 1;
            evento.Estado.Senal = EDK_SENAL_BUENA;
            evento.Estado.Contactos.fill(4);
            if (i % 2 == 0) {
                evento.Estado.AccionExpresiva = ACC_EXP_APRETAR_DIENTES;
                evento.Estado.PotenciaExpresiva = 0.8f;
            }
            evento.Estado.Tiempo = static_cast<float>(i) / static_cast<float>(porSegundo);
            const std::string linea = Linea(evento);
            std::this_thread::sleep_until(comienzo + static_cast<long>(i) * periodo);
            FEnviados.push_back(Ahora());
            if (::send(cliente, linea.data(), linea.size(), MSG_NOSIGNAL) < 0)
                break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::close(cliente);
    }

    int FEscucha = -1;
    std::uint16_t FPuerto = 0;
    std::thread FHilo;
    std::vector<std::int64_t> FEnviados;
};

// An app on the loopback: forward and stop in turn on the generic map, and
// on request a headband's EEG at its rate (an address the map ignores).
class TEmisorOsc {
public:
    explicit TEmisorOsc(std::uint16_t puerto) : FPuerto(std::to_string(puerto)) { }

    void Servir(std::size_t cambios, double eegPorSegundo)
    {
        FEnviados.reserve(cambios);
        FHilo = std::thread([this, cambios] { Enviar(cambios); });
        if (eegPorSegundo > 0)
            FHiloEeg = std::thread([this, eegPorSegundo] { Eeg(eegPorSegundo); });
    }
    void Esperar()
    {
        if (FHilo.joinable())
            FHilo.join();
        FFin = true;
        if (FHiloEeg.joinable())
            FHiloEeg.join();
    }
    const std::vector<std::int64_t>& Enviados() const { return FEnviados; }

private:
    static constexpr double Periodo = 0.06; // between changes: fresh, never stale

    void Enviar(std::size_t cambios)
    {
        lo_address destino = lo_address_new("127.0.0.1", FPuerto.c_str());
        const Reloj::time_point comienzo = Reloj::now() + std::chrono::milliseconds(1500);
        const auto periodo = std::chrono::duration_cast<Reloj::duration>(std::chrono::duration<double>(Periodo));
        for (std::size_t i = 0; i < cambios; ++i) {
            std::this_thread::sleep_until(comienzo + static_cast<long>(i) * periodo);
            FEnviados.push_back(Ahora());
            lo_send(destino, "/gedanko/avance", "f", i % 2 == 0 ? 0.8F : 0.0F);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        lo_address_free(destino);
    }

    void Eeg(double porSegundo)
    {
        lo_address destino = lo_address_new("127.0.0.1", FPuerto.c_str());
        const Reloj::time_point comienzo = Reloj::now();
        const auto periodo = std::chrono::duration_cast<Reloj::duration>(std::chrono::duration<double>(1 / porSegundo));
        for (long i = 0; !FFin; ++i) {
            std::this_thread::sleep_until(comienzo + i * periodo);
            const auto v = static_cast<float>(800 + i % 50);
            lo_send(destino, "/muse/eeg", "ffffff", v, v, v, v, v, v);
        }
        lo_address_free(destino);
    }

    std::string FPuerto;
    std::thread FHilo;
    std::thread FHiloEeg;
    std::atomic<bool> FFin {false};
    std::vector<std::int64_t> FEnviados;
};

// How late this machine wakes a thread that sleeps 4 ms at a time, for as
// long as a measurement runs: a plain timer thread's stalls, against which
// the latency through the emulator and the window is to be read.
class TSondaDespertar {
public:
    TSondaDespertar()
    {
        FHilo = std::thread([this] {
            const auto paso = std::chrono::milliseconds(4);
            for (Reloj::time_point objetivo = Reloj::now() + paso; !FFin; objetivo += paso) {
                std::this_thread::sleep_until(objetivo);
                const auto tarde = std::chrono::duration<double, std::micro>(Reloj::now() - objetivo).count();
                FRetrasos.Anadir(tarde);
                objetivo = std::max(objetivo, Reloj::now());
            }
        });
    }
    ~TSondaDespertar() { Parar(); }
    TSondaDespertar(const TSondaDespertar&) = delete;
    TSondaDespertar& operator=(const TSondaDespertar&) = delete;

    void Parar()
    {
        FFin = true;
        if (FHilo.joinable())
            FHilo.join();
    }
    TMuestras& Retrasos() { return FRetrasos; }

private:
    std::atomic<bool> FFin {false};
    TMuestras FRetrasos;
    std::thread FHilo;
};

// Each state's byte is the first Out32 of its value after its send and
// before the next state's send.
TResultadoRun Emparejar(const std::vector<std::int64_t>& enviados)
{
    TResultadoRun run;
    run.Estados = enviados.size();
    const TSelloPuerto* puerto = SellosPuerto();
    const std::size_t num = NumSellosPuerto();
    std::size_t j = 0;
    for (std::size_t i = 0; i < enviados.size(); ++i) {
        const std::int64_t hasta = i + 1 < enviados.size() ? enviados[i + 1] : INT64_MAX;
        while (j < num && puerto[j].Instante < enviados[i])
            ++j;
        std::size_t k = j;
        while (k < num && puerto[k].Instante < hasta
               && (puerto[k].Valor != OrdenEsperada(i) || puerto[k].Puerto != PuertoDatos))
            ++k;
        if (k == num || puerto[k].Instante >= hasta)
            continue;
        run.Latencias.Anadir(double(puerto[k].Instante - enviados[i]) / 1e3);
        ++run.Emparejados;
        j = k + 1;
    }
    if (!enviados.empty())
        run.Segundos = double(enviados.back() - enviados.front()) / 1e9;
    return run;
}

} // namespace

// The build's bin folder, beside this program's banco folder.
std::string CarpetaBin()
{
    char ruta[PATH_MAX] = {};
    const ssize_t n = ::readlink("/proc/self/exe", ruta, sizeof ruta - 1);
    std::string propio(ruta, n > 0 ? static_cast<std::size_t>(n) : 0);
    propio = propio.substr(0, propio.rfind('/'));
    return propio.substr(0, propio.rfind('/') + 1) + "bin";
}

int MedirOsc(int argc, char** argv)
{
    const auto cambios = static_cast<std::size_t>(std::max(2, std::atoi(argv[2])));
    const double eeg = argc >= 4 ? std::atof(argv[3]) : 0.0;
    TEmuladorBanco emulador(CarpetaBin(), {"--puerto", "0", "--osc", "0"});
    const int puerto = emulador.Numero("escuchando en 127.0.0.1:");
    const int puertoOsc = emulador.Numero("escuchando OSC en UDP 0.0.0.0:");
    if (puerto <= 0 || puertoOsc <= 0) {
        std::fprintf(stderr, "banco-tcp: gedanko-emulador did not start from %s\n", CarpetaBin().c_str());
        return 2;
    }
    QApplication aplicacion(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Gedanko"));
    ReservarPuerto(8 * cambios + 1000);
    TFMain ventana;
    ventana.show();
    AsentarVentana();
    if (!PrepararVentana(ventana, true, static_cast<std::uint16_t>(puerto)))
        return 2;
    TEmisorOsc emisor(static_cast<std::uint16_t>(puertoOsc));
    TSondaDespertar sonda;
    emisor.Servir(cambios, eeg);
    const int duracionMs = static_cast<int>(1000 * (2.0 + double(cambios) * 0.06));
    QTimer::singleShot(duracionMs, &ventana, [&ventana] { TFormularioMain(ventana).ActionDesconectar->trigger(); });
    TFormularioMain(ventana).ActionConectar->trigger();
    emisor.Esperar();
    sonda.Parar();
    TResultadoRun run = Emparejar(emisor.Enviados());
    TFiguras figuras = FigurasDeRun(run);
    figuras.emplace_back("perdidos", double(PerdidosPuerto()));
    figuras.emplace_back("despertar_p99_us", sonda.Retrasos().Percentil(99));
    figuras.emplace_back("despertar_max_us", sonda.Retrasos().Maximo());
    ImprimirFiguras(figuras);
    return run.Emparejados == run.Estados ? 0 : 1;
}

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--osc") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        PrepararPantallaX();
        return MedirOsc(argc, argv);
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: gedanko-banco-tcp ESTADOS [ESTADOS_POR_SEGUNDO]\n");
        return 2;
    }
    const auto estados = static_cast<std::size_t>(std::max(1, std::atoi(argv[1])));
    const double porSegundo = argc >= 3 ? std::atof(argv[2]) : 32.0;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    PrepararPantallaX();
    QApplication aplicacion(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Gedanko"));
    ReservarPuerto(4 * estados + 1000);

    TServidor servidor;
    if (!servidor.Escuchar()) {
        std::fprintf(stderr, "banco-tcp: cannot listen on the loopback\n");
        return 2;
    }
    TFMain ventana;
    ventana.show();
    AsentarVentana();
    if (!PrepararVentana(ventana, true, servidor.Puerto()))
        return 2;
    servidor.Servir(estados, porSegundo);
    const int duracionMs = static_cast<int>(1000 * (1.5 + double(estados) / porSegundo));
    QTimer::singleShot(duracionMs, &ventana, [&ventana] { TFormularioMain(ventana).ActionDesconectar->trigger(); });
    const double procesadorAntes = SegundosProcesador(RUSAGE_THREAD);
    const std::int64_t antes = Ahora();
    TFormularioMain(ventana).ActionConectar->trigger();
    const double segundos = double(Ahora() - antes) / 1e9;
    const double procesador = SegundosProcesador(RUSAGE_THREAD) - procesadorAntes;
    servidor.Esperar();

    TResultadoRun run = Emparejar(servidor.Enviados());
    TFiguras figuras = FigurasDeRun(run);
    figuras.emplace_back("perdidos", double(PerdidosPuerto()));
    figuras.emplace_back("procesador_pct", 100.0 * procesador / segundos);
    ImprimirFiguras(figuras);
    return run.Emparejados == run.Estados ? 0 : 1;
}
