// The whole chain without hardware: the real window (gedanko-conduccion-prueba)
// sends frames to gedanko-receptor over a pseudo-terminal or UDP loopback,
// driven by a real gedanko-emulador. The receiver's outputs follow the
// commands, and a kill -9 of the program while driving forward leaves them
// all off within the failsafe's timeout of the last frame. Times are the
// receiver's own time stamps, so a loaded machine slows the run but does not
// change what is checked.
#include "ProcesoEmulador.h"
#include "ProcesoHijo.h"
#include "Trama.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <optional>
#include <ostream>
#include <string>
#include <thread>

namespace {

using Reloj = std::chrono::steady_clock;

// One line of gedanko-receptor: the outputs after a change.
struct TCambio {
    double Instante = 0;
    int Avance = 0, Retroceso = 0, Izquierda = 0, Derecha = 0, Enlace = 0;
    double Ultima = 0;
};

std::optional<TCambio> Interpretar(const std::string& linea)
{
    TCambio c;
    const int leidos
        = std::sscanf(linea.c_str(), "%lf avance=%d retroceso=%d izquierda=%d derecha=%d enlace=%d ultima=%lf",
                      &c.Instante, &c.Avance, &c.Retroceso, &c.Izquierda, &c.Derecha, &c.Enlace, &c.Ultima);
    if (leidos != 7)
        return std::nullopt;
    return c;
}

// A program beside the test program.
std::string Carpeta()
{
    const std::string propio = TProcesoEmulador::Ruta();
    return propio.substr(0, propio.rfind('/') + 1);
}

struct CasoSalida {
    std::string Nombre;
    std::vector<std::string> Receptor; // gedanko-receptor's arguments
    std::string Prefijo; // of the destination, before what the receiver announces
    friend void PrintTo(const CasoSalida& caso, std::ostream* salida) { *salida << caso.Nombre; }
};

class SalidaReal : public testing::TestWithParam<CasoSalida> {
protected:
    static constexpr auto Espera = std::chrono::seconds(60);

    void SetUp() override
    {
        ASSERT_TRUE(FCarpeta.isValid());
        FReceptor = std::make_unique<TProcesoHijo>(Carpeta() + "gedanko-receptor", GetParam().Receptor);
        const std::optional<std::string> anuncio = FReceptor->Linea(Reloj::now() + Espera, true);
        const std::string marca = "escuchando en ";
        ASSERT_TRUE(anuncio && anuncio->find(marca) != std::string::npos);
        const std::string destino = GetParam().Prefijo + anuncio->substr(anuncio->find(marca) + marca.size());
        Escribir(QStringLiteral("gedanko.ini"), "[SALIDA]\nDestino=" + destino + "\n");
        // A headset on with good signal, doing nothing until told.
        Escribir(QStringLiteral("quieto.esc"), "0 senal 2\n0 contactos 4\n0 bateria 5 5\n0 alta 0\n1 fin\n");
        FEmulador = std::make_unique<TProcesoEmulador>(std::vector<std::string> {
            "--puerto", "0", "--escenario", FCarpeta.filePath(QStringLiteral("quieto.esc")).toStdString()});
        const std::uint16_t puerto = FEmulador->Puerto();
        ASSERT_NE(puerto, 0);
        FPrograma = std::make_unique<TProcesoHijo>(
            Carpeta() + "gedanko-conduccion-prueba",
            std::vector<std::string> {FCarpeta.path().toStdString(), std::to_string(puerto)});
    }

    void Escribir(const QString& nombre, const std::string& texto)
    {
        QFile fichero(FCarpeta.filePath(nombre));
        ASSERT_TRUE(fichero.open(QIODevice::WriteOnly));
        fichero.write(texto.c_str());
    }

    // The receiver's next change that satisfies `buscado`; every change on
    // the way is checked against `permitido`.
    std::optional<TCambio> Esperar(const std::function<bool(const TCambio&)>& buscado,
                                   const std::function<bool(const TCambio&)>& permitido)
    {
        const auto limite = Reloj::now() + Espera;
        while (const std::optional<std::string> linea = FReceptor->Linea(limite)) {
            const std::optional<TCambio> cambio = Interpretar(*linea);
            if (!cambio) {
                ADD_FAILURE() << "not a receiver line: " << *linea;
                continue;
            }
            if (buscado(*cambio))
                return cambio;
            EXPECT_TRUE(permitido(*cambio)) << "unexpected outputs: " << *linea;
        }
        return std::nullopt;
    }

    QTemporaryDir FCarpeta;
    std::unique_ptr<TProcesoHijo> FReceptor;
    std::unique_ptr<TProcesoEmulador> FEmulador;
    std::unique_ptr<TProcesoHijo> FPrograma;
};

bool Parado(const TCambio& c)
{
    return c.Avance == 0 && c.Retroceso == 0 && c.Izquierda == 0 && c.Derecha == 0;
}
bool SoloAvance(const TCambio& c)
{
    return c.Avance == 1 && c.Retroceso == 0 && c.Izquierda == 0 && c.Derecha == 0;
}

TEST_P(SalidaReal, LasSalidasSiguenALasOrdenesYUnKill9LasApaga)
{
    // Output on: the all-off frame and its heartbeat bring the link up.
    const auto enlace = Esperar([](const TCambio& c) { return c.Enlace == 1; }, Parado);
    ASSERT_TRUE(enlace) << "the receiver never saw a frame";
    EXPECT_TRUE(Parado(*enlace));

    ASSERT_TRUE(FEmulador->Escribir("apretar 0.8\n"));
    ASSERT_TRUE(Esperar(SoloAvance, Parado)) << "forward never came";
    ASSERT_TRUE(FEmulador->Escribir("neutro\n"));
    const auto parada = Esperar(Parado, SoloAvance);
    ASSERT_TRUE(parada) << "the stop never came";
    EXPECT_EQ(parada->Enlace, 1) << "a stop is a frame, not a lost link";
    ASSERT_TRUE(FEmulador->Escribir("apretar 0.8\n"));
    const auto avance = Esperar(SoloAvance, Parado);
    ASSERT_TRUE(avance);

    // Several heartbeats' time of driving, then the kill.
    std::this_thread::sleep_for(std::chrono::milliseconds(6 * trama::IntervaloLatidoMs));
    FPrograma->Matar();
    const auto apagado = Esperar([](const TCambio& c) { return c.Enlace == 0; }, SoloAvance);
    ASSERT_TRUE(apagado) << "the outputs stayed on after the program died";
    EXPECT_TRUE(Parado(*apagado));
    // The heartbeat ran until the kill, and the failsafe ended it on time:
    // 300 ms after the last frame, plus the receiver's own wake-up delay.
    const double tras = apagado->Instante - apagado->Ultima;
    EXPECT_GT(apagado->Ultima, avance->Ultima) << "no heartbeat after the forward frame";
    EXPECT_GE(tras, 0.299);
    EXPECT_LE(tras, 0.300 + 0.150) << "the receiver woke late";
}

double SegundosMonotonos()
{
    timespec t {};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Forward is current only while the loop decides. A dialog that holds the
// loop still stops it with a frame (not the receiver's failsafe) while the
// dialog is still up, and the engine's states that queued meanwhile do not
// drive; a stopped process, once continued, sends no old forward first.
TEST_P(SalidaReal, SoloConduceLoQueElBucleDecideAhora)
{
    ASSERT_TRUE(Esperar([](const TCambio& c) { return c.Enlace == 1; }, Parado));
    ASSERT_TRUE(FEmulador->Escribir("apretar 0.8\n"));
    ASSERT_TRUE(Esperar(SoloAvance, Parado));

    // The receiver's time stamps are the same monotonic clock.
    const double pedido = SegundosMonotonos();
    FPrograma->Senal(SIGUSR1);
    const auto parada = Esperar(Parado, SoloAvance);
    ASSERT_TRUE(parada);
    EXPECT_EQ(parada->Enlace, 1) << "the program must stop it, not the failsafe";
    EXPECT_LT(parada->Instante - pedido, 1.0) << "forward outlived the dialog's stand-still";
    std::printf("dialogo: avance apagado %.1f ms tras la peticion\n", (parada->Instante - pedido) * 1000);
    // Forward comes back once the dialog is gone and fresh states arrive.
    ASSERT_TRUE(Esperar(SoloAvance, Parado));

    FPrograma->Senal(SIGSTOP);
    const auto caida = Esperar([](const TCambio& c) { return c.Enlace == 0; }, SoloAvance);
    ASSERT_TRUE(caida);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    FPrograma->Senal(SIGCONT);
    const auto vuelta = Esperar([](const TCambio& c) { return c.Enlace == 1; }, Parado);
    ASSERT_TRUE(vuelta);
    EXPECT_TRUE(Parado(*vuelta)) << "the first frame after the stop carried the old forward";
}

INSTANTIATE_TEST_SUITE_P(Receptor, SalidaReal,
                         testing::Values(CasoSalida {"Pty", {"--pty"}, "serie:"},
                                         CasoSalida {"Udp", {"--udp", "127.0.0.1:0"}, "udp:"}),
                         [](const testing::TestParamInfo<CasoSalida>& caso) { return caso.param.Nombre; });

} // namespace
