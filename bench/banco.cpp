// gedanko-banco: benchmarks of the real program. Without arguments it runs
// every measurement several times, each in a fresh child process of its own
// (itself with --hijo, or the real program for the start-up), and prints a
// Markdown table of medians and spreads. Exits non-zero when a run failed, a
// port byte did not match its EmoState or a target was missed.
//
//   gedanko-banco [--repeticiones N] [--segundos S] [--inundacion S] [--reposo S] [--lineas N]
//                 [--lineas-inundacion N] [--estados-tcp N]
//   gedanko-banco --osc [N]   latency of gedanko-emulador's OSC input over N changes (default 2000)
#include "MedidaDesnuda.h"
#include "MedidaOsc.h"
#include "MedidaRegistro.h"
#include "MedidaSalida.h"
#include "MedidaVentana.h"
#include "Muestras.h"
#include "PantallaX.h"
#include "Proceso.h"

#include <QApplication>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

struct TOpciones {
    int Repeticiones = 5;
    double Segundos = 10; // each latency run
    double Inundacion = 3; // each throughput run
    double Reposo = 10; // each idle run
    int Lineas = 115'200; // one hour of state lines at 32 per second
    int LineasInundacion = 1'000'000; // the log pane's memory must stay flat
    double Ritmo = 32;
    int EstadosTcp = 2000; // samples of the end-to-end latency over TCP
    int OrdenesSalida = 2000; // commands per frame destination
};

// The streaming processor figure is taken while the script changes the
// command every half second at 32 EmoStates a second, a brisk driver's pace;
// its power still moves with every state. Runs of one change it with every
// state, the worst case, which the latency runs need and which has a row of
// its own.
constexpr int EstadosPorOrdenConduccion = 16;
// Forward and stop changes sent over OSC for the latency through the window.
constexpr int CambiosOscVentana = 400;

std::filesystem::path CarpetaPropia()
{
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

TModoGuion Modo(const std::string& nombre)
{
    if (nombre == "inundacion")
        return TModoGuion::Inundacion;
    if (nombre == "silencio")
        return TModoGuion::Silencio;
    return TModoGuion::Ritmo;
}

int Hijo(int argc, char** argv)
{
    const std::string medida = argv[2];
    const auto arg = [&](int i) { return i < argc ? std::string(argv[i]) : std::string(); };
    // Optional last argument: EmoStates per command in the script.
    const auto porOrden = static_cast<std::uint32_t>(std::max(1, std::atoi(arg(7).c_str())));
    if (medida == "desnudo")
        return TMedidaDesnuda::Ejecutar(Modo(arg(3)), std::atof(argv[4]), std::atof(argv[5]), arg(6) == "espera",
                                        porOrden);
    if (medida == "salida")
        return TMedidaSalida::Ejecutar(std::atoi(argv[3]));

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    PrepararPantallaX();
    QApplication aplicacion(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Gedanko"));
    if (medida == "ventana")
        return TMedidaVentana::Ejecutar(Modo(arg(3)), std::atof(argv[4]), std::atof(argv[5]), arg(6) == "1", porOrden);
    if (medida == "registro")
        return TMedidaRegistro::Ejecutar(std::atoi(argv[3]));
    if (medida == "inundacion_registro")
        return TMedidaRegistro::Inundar(std::atoi(argv[3]));
    std::fprintf(stderr, "banco: unknown measurement %s\n", medida.c_str());
    return 2;
}

// --- The driver ---------------------------------------------------------------

// One figure over the runs: median and spread.
struct TFila {
    std::string Nombre;
    std::string Objetivo;
    TMuestras Valores;
    std::function<bool(double)> Cumple; // empty when the row has no target
    int Decimales = 2;
};

class TBanco {
public:
    explicit TBanco(const TOpciones& opciones) : FOpciones(opciones), FCarpeta(CarpetaPropia()) { }

    int Ejecutar();

private:
    using TExtraer = std::function<void(const TProceso&)>;
    void FilasProcesadorEnStream();
    void FilaTcp(const std::string& plataforma, const std::string& nombre);
    void FilaOscVentana(const std::string& plataforma, const std::string& nombre);
    void Repetir(int veces, const std::vector<std::string>& argumentos, const std::vector<std::string>& entorno,
                 const TExtraer& extraer);
    std::vector<std::string> ArgsHijo(std::vector<std::string> resto) const;
    TFila& Fila(const std::string& nombre, const std::string& objetivo = {}, std::function<bool(double)> cumple = {},
                int decimales = 2);
    void Imprimir();

    TOpciones FOpciones;
    std::filesystem::path FCarpeta;
    std::vector<TFila> FFilas;
    int FFallos = 0;
    double FErroneos = 0;
    double FSinByte = 0; // EmoStates handed out whose byte never reached the port
    int FNoCumplidos = 0; // rows whose target was missed or not measured
};

std::vector<std::string> TBanco::ArgsHijo(std::vector<std::string> resto) const
{
    resto.insert(resto.begin(), {(FCarpeta / "gedanko-banco").string(), "--hijo"});
    return resto;
}

TFila& TBanco::Fila(const std::string& nombre, const std::string& objetivo, std::function<bool(double)> cumple,
                    int decimales)
{
    for (TFila& fila : FFilas)
        if (fila.Nombre == nombre)
            return fila;
    FFilas.push_back({nombre, objetivo, {}, std::move(cumple), decimales});
    return FFilas.back();
}

void TBanco::Repetir(int veces, const std::vector<std::string>& argumentos, const std::vector<std::string>& entorno,
                     const TExtraer& extraer)
{
    for (int i = 0; i < veces; ++i) {
        TProceso proceso;
        if (!proceso.Ejecutar(argumentos, entorno)) {
            ++FFallos;
            continue;
        }
        FErroneos += std::isnan(proceso.Figura("erroneos")) ? 0 : proceso.Figura("erroneos");
        if (!std::isnan(proceso.Figura("estados")))
            FSinByte += proceso.Figura("estados") - proceso.Figura("emparejados");
        extraer(proceso);
    }
}

// Processor time while a headset streams, full window and state lines on,
// against a bare loop that waits 1 ms per pass as the program's loop does;
// offscreen, and on the X server of DISPLAY when there is one (for instance
// under xvfb-run), with the throughput there too.
void TBanco::FilasProcesadorEnStream()
{
    const TOpciones& o = FOpciones;
    const auto como = [](double v) { return std::to_string(v); };
    const auto mayorIgual = [](double limite) { return [limite](double v) { return v >= limite; }; };
    const std::string conduccion = std::to_string(EstadosPorOrdenConduccion);
    std::fprintf(stderr, "banco: processor while streaming, reference loop\n");
    TMuestras referencia;
    Repetir(o.Repeticiones, ArgsHijo({"desnudo", "ritmo", como(o.Ritmo), como(o.Segundos), "espera", conduccion}), {},
            [&](const TProceso& p) {
                Fila("Processor, streaming, reference loop waiting 1 ms per pass (% of one core)", {}, {}, 1)
                    .Valores.Anadir(p.Figura("procesador_pct"));
                referencia.Anadir(p.Figura("procesador_pct"));
            });
    std::vector<std::pair<std::string, std::string>> plataformas {{"offscreen", "offscreen"}};
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        plataformas.emplace_back("xcb", "X server");
    for (const auto& par : plataformas) {
        // Named copies: a lambda cannot capture a structured binding here.
        const std::string plataforma = par.first;
        const std::string nombre = par.second;
        std::fprintf(stderr, "banco: processor while streaming, window, %s\n", nombre.c_str());
        const std::vector<std::string> entorno = {"QT_QPA_PLATFORM=" + plataforma};
        TMuestras ventana, cadaEstado;
        Repetir(o.Repeticiones, ArgsHijo({"ventana", "ritmo", como(o.Ritmo), como(o.Segundos), "1", conduccion}),
                entorno, [&](const TProceso& p) {
                    Fila("Processor, streaming, window with state lines, " + nombre + " (% of one core)", {}, {}, 1)
                        .Valores.Anadir(p.Figura("procesador_pct"));
                    ventana.Anadir(p.Figura("procesador_pct"));
                });
        Fila("Processor, streaming, " + nombre + ": window / reference loop", "≤ 1", [](double v) {
            return v <= 1;
        }).Valores.Anadir(ventana.Mediana() / referencia.Mediana());
        Repetir(o.Repeticiones, ArgsHijo({"ventana", "ritmo", como(o.Ritmo), como(o.Segundos), "1"}), entorno,
                [&](const TProceso& p) {
                    Fila("Processor, streaming, command changing with every EmoState, window with state lines, "
                             + nombre + " (% of one core)",
                         {}, {}, 1)
                        .Valores.Anadir(p.Figura("procesador_pct"));
                    cadaEstado.Anadir(p.Figura("procesador_pct"));
                });
        Fila("Processor, streaming, command changing with every EmoState, " + nombre + ": window / reference loop", {},
             {}, 2)
            .Valores.Anadir(cadaEstado.Mediana() / referencia.Mediana());
        FilaTcp(plataforma, nombre);
        FilaOscVentana(plataforma, nombre);
        if (plataforma == "offscreen") {
            // The same window over an engine without the wake-up descriptor,
            // which the loop then polls every millisecond.
            std::vector<std::string> sinDescriptor = entorno;
            sinDescriptor.emplace_back("GUION_SIN_DESCRIPTOR=1");
            Repetir(o.Repeticiones, ArgsHijo({"ventana", "ritmo", como(o.Ritmo), como(o.Segundos), "1", conduccion}),
                    sinDescriptor, [&](const TProceso& p) {
                        Fila("Processor, streaming, window with state lines, engine without the wake-up descriptor, "
                                 + nombre + " (% of one core)",
                             {}, {}, 1)
                            .Valores.Anadir(p.Figura("procesador_pct"));
                    });
            continue;
        }
        Repetir(o.Repeticiones, ArgsHijo({"ventana", "inundacion", como(o.Ritmo), como(o.Inundacion), "0"}), entorno,
                [&](const TProceso& p) {
                    Fila("Throughput, window, arrows + port + chart, " + nombre + " (EmoStates/s)", "≥ 2000",
                         mayorIgual(2000), 0)
                        .Valores.Anadir(p.Figura("tasa"));
                });
        Repetir(o.Repeticiones, ArgsHijo({"ventana", "inundacion", como(o.Ritmo), como(o.Inundacion), "1"}), entorno,
                [&](const TProceso& p) {
                    Fila("Throughput, window, arrows + port + chart + state lines, " + nombre + " (EmoStates/s)",
                         "≥ 1000", mayorIgual(1000), 0)
                        .Valores.Anadir(p.Figura("tasa"));
                });
    }
}

// From an OSC packet's send to the Out32 of its byte through a real
// gedanko-emulador and the real window: forward and stop in turn, alone and
// beside a headband's 256 Hz EEG stream.
void TBanco::FilaOscVentana(const std::string& plataforma, const std::string& nombre)
{
    const std::string cambios = std::to_string(CambiosOscVentana);
    for (const std::string eeg : {"0", "256"}) {
        std::fprintf(stderr, "banco: OSC to Out32, %s changes, EEG at %s Hz, %s\n", cambios.c_str(), eeg.c_str(),
                     nombre.c_str());
        Repetir(1, {(FCarpeta / "gedanko-banco-tcp").string(), "--osc", cambios, eeg},
                {"QT_QPA_PLATFORM=" + plataforma}, [&](const TProceso& p) {
                    std::string fila = "Latency OSC packet to Out32 through gedanko-emulador, ";
                    fila.append(cambios)
                        .append(" changes, ")
                        .append(eeg == "0" ? "alone" : "beside 256 Hz EEG")
                        .append(", ")
                        .append(nombre);
                    Fila(fila + ", p50 (ms)", {}, {}, 3).Valores.Anadir(p.Figura("p50_us") / 1e3);
                    Fila(
                        fila + ", p99 (ms)", "≤ 2 ms", [](double v) { return v <= 2; }, 3)
                        .Valores.Anadir(p.Figura("p99_us") / 1e3);
                    Fila(fila + ", max (ms)", {}, {}, 3).Valores.Anadir(p.Figura("max_us") / 1e3);
                    // The machine's own lateness in waking a sleeping thread
                    // meanwhile: a tail above it is ours, one within it is not.
                    Fila(fila + ", a 4 ms timer thread's lateness at the same time, p99 (ms)", {}, {}, 3)
                        .Valores.Anadir(p.Figura("despertar_p99_us") / 1e3);
                    Fila(fila + ", a 4 ms timer thread's lateness at the same time, max (ms)", {}, {}, 3)
                        .Valores.Anadir(p.Figura("despertar_max_us") / 1e3);
                });
    }
}

// End to end over real TCP: a server thread's send() of each EmoState line
// to the Out32 of its byte, the real engine and window between them; one run
// of EstadosTcp samples at the streaming rate.
void TBanco::FilaTcp(const std::string& plataforma, const std::string& nombre)
{
    std::fprintf(stderr, "banco: latency over TCP, %d EmoStates, %s\n", FOpciones.EstadosTcp, nombre.c_str());
    const std::string muestras = std::to_string(FOpciones.EstadosTcp);
    Repetir(1, {(FCarpeta / "gedanko-banco-tcp").string(), muestras, std::to_string(FOpciones.Ritmo)},
            {"QT_QPA_PLATFORM=" + plataforma}, [&](const TProceso& p) {
                const std::string fila = "Latency over TCP, send() to Out32, " + muestras + " EmoStates, " + nombre;
                Fila(fila + ", p50 (ms)", {}, {}, 3).Valores.Anadir(p.Figura("p50_us") / 1e3);
                Fila(
                    fila + ", p99 (ms)", "≤ 1 ms", [](double v) { return v <= 1; }, 3)
                    .Valores.Anadir(p.Figura("p99_us") / 1e3);
                Fila(fila + ", max (ms)", {}, {}, 3).Valores.Anadir(p.Figura("max_us") / 1e3);
                Fila("Processor, streaming over TCP, real engine, window with state lines, " + nombre
                         + " (window's thread, % of one core)",
                     {}, {}, 1)
                    .Valores.Anadir(p.Figura("procesador_pct"));
            });
}

int TBanco::Ejecutar()
{
    const TOpciones& o = FOpciones;
    const std::vector<std::string> offscreen = {"QT_QPA_PLATFORM=offscreen"};
    const auto como = [](double v) { return std::to_string(v); };
    const auto menorIgual = [](double limite) { return [limite](double v) { return v <= limite; }; };
    const auto mayorIgual = [](double limite) { return [limite](double v) { return v >= limite; }; };

    std::fprintf(stderr, "banco: latency at %.0f EmoStates/s, window\n", o.Ritmo);
    TMuestras p99Ventana, p99Desnudo, tasaVentana, tasaDesnudo;
    Repetir(o.Repeticiones, ArgsHijo({"ventana", "ritmo", como(o.Ritmo), como(o.Segundos), "1"}), offscreen,
            [&](const TProceso& p) {
                Fila("Latency, window, p50 (ms)").Valores.Anadir(p.Figura("p50_us") / 1e3);
                Fila("Latency, window, p99 (ms)", "≤ 2 ms", menorIgual(2)).Valores.Anadir(p.Figura("p99_us") / 1e3);
                Fila("Latency, window, max (ms)").Valores.Anadir(p.Figura("max_us") / 1e3);
                p99Ventana.Anadir(p.Figura("p99_us"));
            });
    FilasProcesadorEnStream();

    std::fprintf(stderr, "banco: latency, bare loop\n");
    Repetir(o.Repeticiones, ArgsHijo({"desnudo", "ritmo", como(o.Ritmo), como(o.Segundos)}), {},
            [&](const TProceso& p) {
                Fila("Latency, bare loop, p50 (ms)", {}, {}, 3).Valores.Anadir(p.Figura("p50_us") / 1e3);
                Fila("Latency, bare loop, p99 (ms)", {}, {}, 3).Valores.Anadir(p.Figura("p99_us") / 1e3);
                Fila("Latency, bare loop, max (ms)", {}, {}, 3).Valores.Anadir(p.Figura("max_us") / 1e3);
                p99Desnudo.Anadir(p.Figura("p99_us"));
            });
    Fila("Latency p99: window / bare loop", {}, {}, 1).Valores.Anadir(p99Ventana.Mediana() / p99Desnudo.Mediana());

    std::fprintf(stderr, "banco: throughput at a flood, window\n");
    Repetir(o.Repeticiones, ArgsHijo({"ventana", "inundacion", como(o.Ritmo), como(o.Inundacion), "1"}), offscreen,
            [&](const TProceso& p) {
                Fila("Throughput, window, arrows + port + chart + state lines (EmoStates/s)", {}, {}, 0)
                    .Valores.Anadir(p.Figura("tasa"));
                // At a flood each EmoState is polled the moment it is due, so
                // its latency is the window's own work before the byte.
                Fila("Poll to Out32 at a flood, window with state lines, p50 (ms)")
                    .Valores.Anadir(p.Figura("p50_us") / 1e3);
                Fila("Poll to Out32 at a flood, window with state lines, p99 (ms)")
                    .Valores.Anadir(p.Figura("p99_us") / 1e3);
            });
    Repetir(o.Repeticiones, ArgsHijo({"ventana", "inundacion", como(o.Ritmo), como(o.Inundacion), "0"}), offscreen,
            [&](const TProceso& p) {
                Fila("Throughput, window, arrows + port + chart (EmoStates/s)", "≥ 2000", mayorIgual(2000), 0)
                    .Valores.Anadir(p.Figura("tasa"));
                tasaVentana.Anadir(p.Figura("tasa"));
            });
    std::fprintf(stderr, "banco: throughput at a flood, bare loop\n");
    Repetir(o.Repeticiones, ArgsHijo({"desnudo", "inundacion", como(o.Ritmo), como(o.Inundacion)}), {},
            [&](const TProceso& p) {
                Fila("Throughput, bare loop (EmoStates/s)", {}, {}, 0).Valores.Anadir(p.Figura("tasa"));
                tasaDesnudo.Anadir(p.Figura("tasa"));
            });
    Fila("Throughput: bare loop / window", {}, {}, 0).Valores.Anadir(tasaDesnudo.Mediana() / tasaVentana.Mediana());

    std::fprintf(stderr, "banco: idle connection\n");
    Repetir(o.Repeticiones, ArgsHijo({"ventana", "silencio", como(o.Ritmo), como(o.Reposo), "0"}), offscreen,
            [&](const TProceso& p) {
                Fila("Processor, idle connection (% of one core)", "≤ 2 %", menorIgual(2), 1)
                    .Valores.Anadir(p.Figura("procesador_pct"));
            });

    std::fprintf(stderr, "banco: frame destinations, %d commands per link\n", o.OrdenesSalida);
    Repetir(1, ArgsHijo({"salida", std::to_string(o.OrdenesSalida)}), {}, [&](const TProceso& p) {
        for (const auto& [clave, nombre] :
             {std::pair {"pty", "pseudo-terminal (serie:)"}, std::pair {"udp", "UDP loopback (udp:)"}}) {
            const std::string fila = "Decision to receiver output, " + std::string(nombre) + ", "
                                     + std::to_string(o.OrdenesSalida) + " commands";
            Fila(fila + ", p50 (ms)", {}, {}, 3).Valores.Anadir(p.Figura(std::string(clave) + "_p50_us") / 1e3);
            Fila(fila + ", p99 (ms)", "≤ 2 ms", menorIgual(2), 3)
                .Valores.Anadir(p.Figura(std::string(clave) + "_p99_us") / 1e3);
        }
    });

    std::fprintf(stderr, "banco: start-up of the program\n");
    const std::filesystem::path programa = FCarpeta.parent_path() / "bin" / "gedanko";
    const std::vector<std::string> sonda
        = {"QT_QPA_PLATFORM=offscreen", "LD_PRELOAD=" + (FCarpeta / "libsonda_pintado.so").string()};
    Repetir(o.Repeticiones, {programa.string()}, sonda, [&](const TProceso& p) {
        Fila("Start-up: launch to first painted window (ms)", "≤ 300 ms", menorIgual(300), 0)
            .Valores.Anadir((p.Figura("pintado_fin") - double(p.Lanzamiento())) / 1e6);
        Fila("Start-up: of which launch to the application object (ms)", {}, {}, 0)
            .Valores.Anadir((p.Figura("aplicacion") - double(p.Lanzamiento())) / 1e6);
        Fila("Peak memory at first paint (MB)", {}, {}, 1).Valores.Anadir(p.Figura("vmhwm_kb") / 1024);
    });

    std::fprintf(stderr, "banco: %d state lines in the log\n", o.Lineas);
    Repetir(std::min(o.Repeticiones, 3), ArgsHijo({"registro", std::to_string(o.Lineas)}), offscreen,
            [&](const TProceso& p) {
                Fila("Peak memory after " + std::to_string(o.Lineas) + " state lines (MB)", "≤ 80 MB", menorIgual(80),
                     1)
                    .Valores.Anadir(p.Figura("vmhwm_mb"));
                Fila("Log: cost of appending line 100 (µs)", {}, {}, 0).Valores.Anadir(p.Figura("coste_100_us"));
                Fila("Log: cost of appending line 100,000 (µs)", {}, {}, 0).Valores.Anadir(p.Figura("coste_100000_us"));
                Fila("Log: line 100,000 / line 100", "≤ 2", menorIgual(2)).Valores.Anadir(p.Figura("razon"));
            });

    std::fprintf(stderr, "banco: a flood of %d lines into the log pane\n", o.LineasInundacion);
    const std::string inundacion = std::to_string(o.LineasInundacion);
    const auto filasInundacion = [&](const TProceso& p) {
        Fila("Log flood: peak memory at 100000 lines (MB)", {}, {}, 1).Valores.Anadir(p.Figura("vmhwm_marca_mb"));
        Fila("Log flood: peak memory at " + inundacion + " lines (MB)", {}, {}, 1).Valores.Anadir(p.Figura("vmhwm_mb"));
        Fila("Log flood: peak growth, 100000 to " + inundacion + " lines (MB)", "≤ 4 MB", menorIgual(4), 1)
            .Valores.Anadir(p.Figura("crecimiento_mb"));
        Fila("Log flood: lines per second into the pane", {}, {}, 0).Valores.Anadir(p.Figura("lineas_por_s"));
    };
    Repetir(std::min(o.Repeticiones, 3), ArgsHijo({"inundacion_registro", inundacion}), offscreen, filasInundacion);

    Imprimir();
    return FFallos == 0 && FErroneos == 0 && FSinByte == 0 && FNoCumplidos == 0 ? 0 : 1;
}

std::string Numero(double valor, int decimales)
{
    if (std::isnan(valor))
        return "—";
    char texto[64];
    std::snprintf(texto, sizeof texto, "%.*f", decimales, valor);
    return texto;
}

void TBanco::Imprimir()
{
    std::printf("| Figure | Target | Median | Spread (min–max) | Runs | Met |\n");
    std::printf("|---|---|---|---|---|---|\n");
    for (TFila& f : FFilas) {
        const double mediana = f.Valores.Mediana();
        const std::string cumple
            = !f.Cumple ? "" : (std::isnan(mediana) ? "no data" : (f.Cumple(mediana) ? "yes" : "**no**"));
        if (f.Cumple && (std::isnan(mediana) || !f.Cumple(mediana)))
            ++FNoCumplidos;
        std::printf("| %s | %s | %s | %s–%s | %zu | %s |\n", f.Nombre.c_str(), f.Objetivo.c_str(),
                    Numero(mediana, f.Decimales).c_str(), Numero(f.Valores.Minimo(), f.Decimales).c_str(),
                    Numero(f.Valores.Maximo(), f.Decimales).c_str(), f.Valores.Num(), cumple.c_str());
    }
    if (FNoCumplidos > 0)
        std::printf("\n%d targets missed.\n", FNoCumplidos);
    if (FFallos > 0)
        std::printf("\n%d runs failed (see the error output).\n", FFallos);
    if (FErroneos > 0)
        std::printf("\n%.0f port bytes did not match their EmoState.\n", FErroneos);
    if (FSinByte > 0)
        std::printf("\n%.0f EmoStates sent no byte to the port.\n", FSinByte);
}

bool LeerOpciones(int argc, char** argv, TOpciones& o)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string nombre = argv[i];
        const double valor = std::atof(argv[i + 1]);
        if (nombre == "--repeticiones")
            o.Repeticiones = std::max(1, int(valor));
        else if (nombre == "--segundos")
            o.Segundos = valor;
        else if (nombre == "--inundacion")
            o.Inundacion = valor;
        else if (nombre == "--reposo")
            o.Reposo = valor;
        else if (nombre == "--lineas")
            o.Lineas = int(valor);
        else if (nombre == "--lineas-inundacion")
            o.LineasInundacion = int(valor);
        else if (nombre == "--estados-tcp")
            o.EstadosTcp = std::max(1, int(valor));
        else
            return false;
    }
    return argc % 2 == 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--hijo") == 0)
        return Hijo(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "--osc") == 0)
        return TMedidaOsc::Ejecutar((CarpetaPropia().parent_path() / "bin").string(),
                                    argc >= 3 ? std::atoi(argv[2]) : 2000);
    // The frame destinations' latency to gedanko-receptor (pty and UDP).
    if (argc >= 2 && std::strcmp(argv[1], "--salida") == 0)
        return TMedidaSalida::Ejecutar(argc >= 3 ? std::atoi(argv[2]) : 2000);
    TOpciones opciones;
    if (!LeerOpciones(argc, argv, opciones)) {
        std::fprintf(stderr, "usage: gedanko-banco [--repeticiones N] [--segundos S] [--inundacion S] "
                             "[--reposo S] [--lineas N] [--lineas-inundacion N] [--estados-tcp N]\n");
        return 2;
    }
    return TBanco(opciones).Ejecutar();
}
