// The control loop over an engine that offers a wake-up descriptor, and over
// one that answers -1 for it: the idle loop rests instead of polling every
// millisecond, an event that arrives outside the window's messages wakes it
// at once, a dialog that holds the loop is not woken over and over, and
// every event still drives as before.
#include "VentanaPrograma.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace {

using Reloj = std::chrono::steady_clock;

// EmoStates from another thread, clench and neutral in turn: each waits
// until the loop has read the one before, and its delay from queueing to the
// loop's reading is recorded.
class TFuenteExterna {
public:
    static constexpr int Estados = 9;

    TFuenteExterna()
    {
        MotorPrueba().AlLlamar("EE_EmoEngineEventGetEmoState", [this] {
            const auto ahora = Reloj::now().time_since_epoch().count();
            FRetrasosMs.push_back(double(ahora - FEncolado.load()) / 1e6);
            ++FLeidos;
        });
    }

    void Empezar()
    {
        FHilo = std::thread([this] {
            for (int i = 0; i < Estados; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
                TEventoPrueba evento;
                evento.Estado = i % 2 == 0 ? EstadoApretando(0.8f) : EstadoBueno();
                FEncolado = Reloj::now().time_since_epoch().count();
                MotorPrueba().EncolarDesdeOtroHilo(evento);
                const auto limite = Reloj::now() + std::chrono::seconds(2);
                while (FLeidos.load() <= i && Reloj::now() < limite)
                    std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        });
    }

    void Esperar()
    {
        if (FHilo.joinable())
            FHilo.join();
    }

    // Read by the loop's thread once Esperar has returned.
    const std::vector<double>& RetrasosMs() const { return FRetrasosMs; }

private:
    std::thread FHilo;
    std::atomic<Reloj::rep> FEncolado {0};
    std::atomic<int> FLeidos {0};
    std::vector<double> FRetrasosMs;
};

// A command byte sequence without its repeats.
std::vector<unsigned> SinRepetir(std::vector<unsigned> bytes)
{
    bytes.erase(std::unique(bytes.begin(), bytes.end()), bytes.end());
    return bytes;
}

class Despertador : public VentanaPrograma {
protected:
    void Preparar(bool ofrece)
    {
        MotorPrueba().Reiniciar();
        MotorPrueba().OfreceDescriptor = ofrece;
        Crear();
        ModoCasco(1);
        ActivarSalida();
        FBytesPrevios = FGrabacion.Valores().size();
    }

    // "Conectar"; each step runs once, at its moment after the click, inside
    // one of the loop's pumps, so the loop runs on its own in between; the
    // run ends after the last.
    void Conectar(std::vector<std::pair<int, std::function<void()>>> pasos)
    {
        for (const auto& [momento, paso] : pasos)
            QTimer::singleShot(momento, FVentana.get(), paso);
        QTimer::singleShot(pasos.back().first, FVentana.get(), [this] { Ui().ActionDesconectar->trigger(); });
        Ui().ActionConectar->trigger();
        EXPECT_FALSE(FVentana->Conectado());
    }

    std::size_t FBytesPrevios = 0;
};

TEST_F(Despertador, TheIdleLoopRestsAndAnEventFromOutsideWakesItAtOnce)
{
    struct Caso {
        const char* Nombre;
        bool Ofrece;
    } casos[] = {{"con descriptor", true}, {"sin descriptor", false}};
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.Nombre);
        Preparar(caso.Ofrece);
        MotorPrueba().EncolarEvento(EE_UserAdded);
        TFuenteExterna fuente;
        int consultasEnReposo = 0;
        Conectar({
            {50, [] { MotorPrueba().BorrarLlamadas(); }},
            {350,
             [&] {
                 consultasEnReposo = MotorPrueba().Cuenta("EE_EngineGetNextEvent");
                 fuente.Empezar();
             }},
            {1500, [&] { fuente.Esperar(); }},
        });
        fuente.Esperar();

        // Every EmoState drove, whatever woke the loop.
        EXPECT_EQ(SinRepetir(BytesDesde(FBytesPrevios)), (std::vector<unsigned> {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0}));
        ASSERT_EQ(fuente.RetrasosMs().size(), std::size_t(TFuenteExterna::Estados));
        if (!caso.Ofrece)
            continue;
        // Resting, the loop wakes only for its timers (every 50 and 100 ms);
        // polling every millisecond would make about 300 polls.
        EXPECT_LE(consultasEnReposo, 20);
        // Woken by the descriptor, not by the next timer: most states are
        // read within a few milliseconds (the timers alone would make them
        // wait 25 ms on average).
        const auto rapidos
            = std::count_if(fuente.RetrasosMs().begin(), fuente.RetrasosMs().end(), [](double ms) { return ms < 10; });
        EXPECT_GE(rapidos, 6) << "delays of the " << TFuenteExterna::Estados
                              << " states (ms): " << testing::PrintToString(fuente.RetrasosMs());
        FVentana.reset();
    }
}

// A modal dialog opened from one of the loop's pumps holds the loop while
// the engine has an event waiting: the descriptor stays readable, but the
// dialog's own message loop must not be woken for it again and again.
TEST_F(Despertador, ADialogHoldingTheLoopIsNotWokenOverAndOver)
{
    Preparar(true);
    MotorPrueba().EncolarEvento(EE_UserAdded);
    int avisos = 0;
    struct TContador : QObject {
        int* Avisos;
        bool eventFilter(QObject* objeto, QEvent* evento) override
        {
            if (evento->type() == QEvent::SockAct)
                ++*Avisos;
            return QObject::eventFilter(objeto, evento);
        }
    } contador;
    contador.Avisos = &avisos;
    Conectar({
        {50,
         [&] {
             MotorPrueba().EncolarEstado(EstadoApretando(0.8f));
             QCoreApplication::instance()->installEventFilter(&contador);
             QEventLoop dialogo;
             QTimer::singleShot(200, &dialogo, &QEventLoop::quit);
             dialogo.exec();
             QCoreApplication::instance()->removeEventFilter(&contador);
         }},
        {400, [] {}},
    });
    EXPECT_LE(avisos, 2);
    EXPECT_EQ(SinRepetir(BytesDesde(FBytesPrevios)), (std::vector<unsigned> {0, 1, 0}))
        << "the state waiting meanwhile still drove";
}

} // namespace
