// A whole program to kill: the real window in headset mode against
// gedanko-emulador, port output on, connected until the process is ended.
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

#include <chrono>
#include <cstdio>

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
    std::fputs("conectando\n", stderr);
    EjecutarConexion(
        ventana, [] { return false; }, std::chrono::minutes(10));
    return 0;
}
