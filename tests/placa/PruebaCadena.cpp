// The whole chain onto the real firmware: the real window in a process of
// its own (gedanko-conduccion-prueba) drives with gedanko-emulador's headset
// over `serie:` to a pseudo-terminal, whose bytes go into the simulated
// Uno's UART as they come. After a kill -9 of the program while driving
// forward the pins go off 300 ms of simulated time after the last frame.
// The simulation keeps pace with the wall clock, never ahead of it.
#include "Lanzar.h"
#include "PlacaSimulada.h"
#include "ProcesoEmulador.h"
#include "Trama.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <deque>
#include <fcntl.h>
#include <functional>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using Reloj = std::chrono::steady_clock;

class Cadena : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FPlaca.Cargar(FIRMWARE_UNO)) << FPlaca.Error();
        FMaestro = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(FMaestro, 0);
        ASSERT_EQ(::grantpt(FMaestro), 0);
        ASSERT_EQ(::unlockpt(FMaestro), 0);
        const std::string esclavo = ::ptsname(FMaestro);
        // Kept open, so that the program's death is no error on this side.
        FEsclavo = ::open(esclavo.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios modo {};
        ::tcgetattr(FEsclavo, &modo);
        ::cfmakeraw(&modo);
        ::tcsetattr(FEsclavo, TCSANOW, &modo);

        ASSERT_TRUE(FCarpeta.isValid());
        Escribir("gedanko.ini", "[SALIDA]\nDestino=serie:" + esclavo + "\n");
        Escribir("quieto.esc", "0 senal 2\n0 contactos 4\n0 bateria 5 5\n0 alta 0\n1 fin\n");
        FEmulador = std::make_unique<TProcesoEmulador>(std::vector<std::string> {
            "--puerto", "0", "--escenario", FCarpeta.filePath(QStringLiteral("quieto.esc")).toStdString()});
        const std::uint16_t puerto = FEmulador->Puerto();
        ASSERT_NE(puerto, 0);
        posix_spawn_file_actions_t acciones;
        posix_spawn_file_actions_init(&acciones);
        posix_spawn_file_actions_addopen(&acciones, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&acciones, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        FPrograma = Lanzar(PROGRAMA_RUTA, {FCarpeta.path().toStdString(), std::to_string(puerto)}, acciones);
        posix_spawn_file_actions_destroy(&acciones);
        ASSERT_GT(FPrograma, 0);
        FInicio = Reloj::now();
    }

    void TearDown() override
    {
        Matar();
        ::close(FEsclavo);
        ::close(FMaestro);
    }

    void Escribir(const char* nombre, const std::string& texto)
    {
        QFile fichero(FCarpeta.filePath(QString::fromLatin1(nombre)));
        ASSERT_TRUE(fichero.open(QIODevice::WriteOnly));
        fichero.write(texto.c_str());
    }

    void Matar()
    {
        if (FPrograma <= 0)
            return;
        ::kill(FPrograma, SIGKILL);
        ::waitpid(FPrograma, nullptr, 0);
        FPrograma = -1;
    }

    // One millisecond of the board: the bytes the program wrote meanwhile
    // go into the UART, which takes them at the line's pace.
    void Paso()
    {
        std::uint8_t bytes[256];
        ssize_t n = 0;
        while ((n = ::read(FMaestro, bytes, sizeof bytes)) > 0)
            FPendientes.insert(FPendientes.end(), bytes, bytes + n);
        // What the line carries in a millisecond.
        std::vector<std::uint8_t> ahora;
        while (!FPendientes.empty() && ahora.size() < 11) {
            ahora.push_back(FPendientes.front());
            FPendientes.pop_front();
        }
        if (!ahora.empty()) {
            FPlaca.Enviar(ahora);
            FUltimoByte = FPlaca.Ms() + static_cast<double>(ahora.size()) * FPlaca.MsPorByte();
        }
        FPlaca.Correr(1);
        const auto simulado = FInicio + std::chrono::microseconds(static_cast<long long>(FPlaca.Ms() * 1000));
        if (simulado > Reloj::now())
            std::this_thread::sleep_until(simulado);
    }

    // Runs the board until `hecho`, within a minute of wall time.
    bool CorrerHasta(const std::function<bool()>& hecho)
    {
        const auto limite = Reloj::now() + std::chrono::minutes(1);
        while (!hecho()) {
            if (Reloj::now() > limite)
                return false;
            Paso();
        }
        return true;
    }

    TPlacaSimulada FPlaca;
    QTemporaryDir FCarpeta;
    std::unique_ptr<TProcesoEmulador> FEmulador;
    pid_t FPrograma = -1;
    int FMaestro = -1;
    int FEsclavo = -1;
    std::deque<std::uint8_t> FPendientes;
    double FUltimoByte = 0;
    Reloj::time_point FInicio;
};

TEST_F(Cadena, LaVentanaConduceLaPlacaYUnKill9LaApagaALos300ms)
{
    ASSERT_TRUE(CorrerHasta([&] { return FPlaca.Led(); })) << "the board never saw a frame";
    EXPECT_EQ(FPlaca.Salidas(), 0);
    ASSERT_TRUE(FEmulador->Escribir("apretar 0.8\n"));
    ASSERT_TRUE(CorrerHasta([&] { return FPlaca.Salidas() == trama::BitAvance; })) << "forward never came";
    // Several heartbeats of driving, then the kill.
    const double avance = FPlaca.Ms();
    ASSERT_TRUE(CorrerHasta([&] { return FPlaca.Ms() > avance + 6 * trama::IntervaloLatidoMs; }));
    EXPECT_EQ(FPlaca.Salidas(), trama::BitAvance);
    Matar();
    ASSERT_TRUE(CorrerHasta([&] { return FPlaca.Salidas() == 0 && FPendientes.empty(); }));
    const double apagado = FPlaca.Cambios().back().Ms;
    const double tras = apagado - FUltimoByte;
    EXPECT_NEAR(tras, trama::CaducidadMs, 1.0);
    std::printf("off %.3f ms of simulated time after the last byte of the killed program\n", tras);
    for (const TPlacaSimulada::TCambio& cambio : FPlaca.Cambios())
        EXPECT_TRUE(cambio.Salidas == 0 || cambio.Salidas == trama::BitAvance) << cambio.Ms;
}

} // namespace
