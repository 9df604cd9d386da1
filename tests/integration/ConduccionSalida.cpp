// A whole program to kill: the real window in headset mode against
// gedanko-emulador, port output on, connected until the process is ended.
// SIGUSR1 opens the about box for a second, holding the loop still as an
// operator's dialog does.
// The whole run over a frame destination (PruebaSalidaReal) starts it with
// the folder of its gedanko.ini and the emulator's port:
//   gedanko-conduccion-prueba <folder> <port>
#include "DialogosPrueba.h"
#include "EjecucionVentana.h"
#include "FormularioMain.h"
#include "Main.h"
#include "RadioGroup.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QSocketNotifier>
#include <QTimer>

#include <chrono>
#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace {

int TuberiaDialogo[2] = {-1, -1};

void AlPedirDialogo(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t escrito = ::write(TuberiaDialogo[1], &byte, 1);
}

constexpr int DuracionDialogoMs = 1000;

// The about box on SIGUSR1, closed again after DuracionDialogoMs.
void PrepararDialogo(const TFormularioMain& ui, QSocketNotifier& aviso)
{
    std::signal(SIGUSR1, AlPedirDialogo);
    QObject::connect(&aviso, &QSocketNotifier::activated, &aviso, [&ui] {
        char byte = 0;
        [[maybe_unused]] const ssize_t leido = ::read(TuberiaDialogo[0], &byte, 1);
        QTimer::singleShot(DuracionDialogoMs, [] {
            if (QWidget* caja = QApplication::activeModalWidget())
                caja->close();
        });
        std::fputs("dialogo\n", stderr);
        ui.ActionAcercaDe->trigger();
    });
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("uso: gedanko-conduccion-prueba <carpeta> <puerto>\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    const QString carpeta = QString::fromLocal8Bit(argv[1]);
    const QString puerto = QString::fromLocal8Bit(argv[2]);

    TFMain::TDependencias dependencias;
    dependencias.Ejecutable = carpeta + QStringLiteral("/gedanko");
    dependencias.Dialogos = std::make_unique<TDialogosGrabados>();
    dependencias.ErrorAplicacion = [](const QString& texto) { std::fprintf(stderr, "%s\n", qPrintable(texto)); };
    TFMain ventana(std::move(dependencias));
    const TFormularioMain ui(ventana);
    ui.ActionCasco->trigger();
    ui.RadioGroupMotor->FijarIndiceElemento(TFMain::ItemEmoComposer);
    ventana.RadioGroupMotorClick();
    ui.EditPuerto->setText(puerto);
    ui.ActionActuador->trigger();
    if (!ui.ActionActuador->isChecked()) {
        for (const QString& linea : LineasRegistro(ventana))
            std::fprintf(stderr, "%s\n", qPrintable(linea));
        return 1;
    }
    if (::pipe2(TuberiaDialogo, O_CLOEXEC | O_NONBLOCK) != 0)
        return 1;
    QSocketNotifier aviso(TuberiaDialogo[0], QSocketNotifier::Read);
    PrepararDialogo(ui, aviso);
    std::fputs("conectando\n", stderr);
    EjecutarConexion(
        ventana, [] { return false; }, std::chrono::minutes(10));
    return 0;
}
