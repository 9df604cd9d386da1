// The soak run's program: the real main window connected to a running
// gedanko-emulador (port output on, state lines off) for a given time. The
// emulator plays a scenario whose every EmoState changes the command:
// clench 0.8 on even states, neutral on odd ones, the headset put on again at
// the start of each lap. At the end the program compares the bytes the
// recording port library wrote with the bytes those EmoStates call for, and
// prints its resident memory sampled every 10 s.
//
//     gedanko-soak <port> <seconds> <states per lap>
//
// Needs GEDANKO_GRABADOR (the record file) and the recording libinpout32.so
// first on LD_LIBRARY_PATH. Exit status 0 when every byte matched.
#include "FormularioMain.h"
#include "Main.h"
#include "RadioGroup.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

long RssKiB()
{
    std::ifstream estado("/proc/self/status");
    std::string linea;
    while (std::getline(estado, linea))
        if (linea.rfind("VmRSS:", 0) == 0)
            return std::atol(linea.c_str() + 6);
    return -1;
}

std::vector<unsigned> Grabados(const char* fichero)
{
    std::vector<unsigned> valores;
    std::ifstream entrada(fichero);
    unsigned puerto = 0, valor = 0;
    while (entrada >> puerto >> valor)
        valores.push_back(valor);
    return valores;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "uso: gedanko-soak <puerto> <segundos> <estados por vuelta>\n");
        return 2;
    }
    const char* grabacion = std::getenv("GEDANKO_GRABADOR");
    if (!grabacion || !*grabacion) {
        std::fprintf(stderr, "gedanko-soak: falta GEDANKO_GRABADOR\n");
        return 2;
    }
    const QString puerto = QString::fromLocal8Bit(argv[1]);
    const qint64 duracionMs = std::atoll(argv[2]) * 1000;
    const long porVuelta = std::atol(argv[3]);

    QApplication aplicacion(argc, argv);
    QLocale::setDefault(QLocale::c());
    QTemporaryDir carpeta; // the settings file goes here, not beside the program
    TFMain::TDependencias dependencias;
    dependencias.Ejecutable = carpeta.filePath(QStringLiteral("gedanko"));

    int resultado = 1;
    {
        TFMain ventana(std::move(dependencias));
        const TFormularioMain ui(ventana);
        ui.ActionCasco->trigger();
        ui.RadioGroupMotor->FijarIndiceElemento(1);
        ventana.RadioGroupMotorClick();
        ui.EditPuerto->setText(puerto);
        ui.ActionActuador->trigger();
        if (!ui.ActionActuador->isChecked() || ui.ActionEstados->isChecked()) {
            std::fprintf(stderr, "gedanko-soak: sin salida al puerto o con las líneas de estado\n");
            return 2;
        }
        const std::size_t previos = Grabados(grabacion).size();

        QElapsedTimer reloj;
        qint64 siguienteMuestra = 0;
        long estados = -1;
        QTimer bomba;
        bomba.setInterval(0);
        QObject::connect(&bomba, &QTimer::timeout, [&] {
            if (!ventana.Conectado())
                return;
            if (!reloj.isValid())
                reloj.start();
            const qint64 ahora = reloj.elapsed();
            if (ahora >= siguienteMuestra) {
                std::printf("rss %lld %ld\n", static_cast<long long>(ahora / 1000), RssKiB());
                std::fflush(stdout);
                siguienteMuestra += 10000;
            }
            // The time label holds the time of the EmoState before the last
            // one read (0 right after the headset is put on).
            const QString tiempo = ui.LabelTiempoConexion->text();
            if (ahora >= duracionMs && tiempo != QStringLiteral("0.000")) {
                estados = std::lround(tiempo.toDouble() * 128) + 2;
                ui.ActionDesconectar->trigger();
            }
        });
        bomba.start();
        ui.ActionConectar->trigger();

        // What the EmoStates call for: each lap opens with the headset put on,
        // which sends the held command (all off) again; then forward on even
        // states, nothing on odd ones; the end of the run adds the all-off byte.
        const std::vector<unsigned> todos = Grabados(grabacion);
        const std::vector<unsigned> grabados(todos.begin() + static_cast<long>(previos), todos.end());
        std::vector<unsigned> esperados;
        for (long g = 0; g < estados; ++g) {
            if (g % porVuelta == 0)
                esperados.push_back(0);
            esperados.push_back(g % 2 == 0 ? 1 : 0);
        }
        esperados.push_back(0);

        std::size_t i = 0;
        while (i < grabados.size() && i < esperados.size() && grabados[i] == esperados[i])
            ++i;
        std::printf("estados %ld\nbytes %zu esperados %zu\n", estados, grabados.size(), esperados.size());
        if (estados > 0 && i == grabados.size() && i == esperados.size()) {
            std::printf("orden correcto\n");
            resultado = 0;
        } else {
            std::printf("primera diferencia en el byte %zu\n", i);
        }
        std::printf("lineas del registro %d\n", ui.RichEditRegistro->NumLineas());
    }
    return resultado;
}
