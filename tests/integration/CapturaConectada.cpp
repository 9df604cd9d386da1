// Takes the main window during a real connected run into a PNG file: the
// window connects through libedk.so to an emulator already listening on the
// given loopback port, with port output on, "Visualizar Estados" on (so the
// log scrolls with every state) and, optionally, a profile loaded through
// the profile button. After the given seconds the window is grabbed from
// the display itself, so the picture shows what incremental painting left
// on screen, not a fresh paint.
#include "Dialogos.h"
#include "FormularioMain.h"
#include "Main.h"
#include "RadioGroup.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Answers the open dialog with the profile given on the command line.
class TDialogosCaptura : public TDialogos {
public:
    explicit TDialogosCaptura(QString perfil) : FPerfil(std::move(perfil)) { }
    QString ElegirFicheroGuardar(QWidget*) override { return {}; }
    QString ElegirFicheroAbrir(QWidget*) override { return FPerfil; }
    void MostrarError(QWidget*, const QString& texto) override { std::fprintf(stderr, "%s\n", qPrintable(texto)); }
    void MostrarMensaje(QWidget*, const QString&) override { }

private:
    QString FPerfil;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication aplicacion(argc, argv);
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "uso: captura_conectada <puerto> <segundos> <fichero.png> [perfil.emu]\n");
        return 2;
    }
    const QString puerto = QString::fromLocal8Bit(argv[1]);
    const double segundos = std::atof(argv[2]);
    const QString fichero = QString::fromLocal8Bit(argv[3]);
    const QString perfil = argc == 5 ? QString::fromLocal8Bit(argv[4]) : QString();
    if (segundos <= 0 || segundos > 120) {
        std::fprintf(stderr, "los segundos van de 0 a 120\n");
        return 2;
    }

    // The settings file goes to a folder that is thrown away.
    QTemporaryDir carpeta;
    TFMain::TDependencias dependencias;
    dependencias.Ejecutable = carpeta.filePath(QStringLiteral("gedanko"));
    dependencias.Dialogos = std::make_unique<TDialogosCaptura>(perfil);
    TFMain ventana(std::move(dependencias));
    ventana.show();

    const TFormularioMain ui(ventana);
    ui.ActionCasco->trigger();
    ui.RadioGroupMotor->FijarIndiceElemento(1);
    ventana.RadioGroupMotorClick();
    ui.EditPuerto->setText(puerto);
    ventana.EditPuertoExit();
    ui.ActionActuador->trigger();
    ui.ActionEstados->trigger();

    bool guardada = false;
    QTimer::singleShot(200, &ventana, [&] {
        QTimer::singleShot(500, &ventana, [&] {
            if (!perfil.isEmpty() && ventana.Conectado())
                ui.ActionCargaPerfil->trigger();
        });
        QTimer::singleShot(int(segundos * 1000), &ventana, [&] {
            if (ventana.Conectado())
                guardada = ventana.screen()->grabWindow(ventana.winId()).save(fichero);
            ui.ActionDesconectar->trigger();
        });
        // The run lasts until the grab above clicks "Desconectar".
        ui.ActionConectar->trigger();
        QApplication::quit();
    });
    QApplication::exec();
    if (!guardada) {
        std::fprintf(stderr, "no se ha podido capturar una ejecución conectada en %s\n", qPrintable(fichero));
        return 1;
    }
    return 0;
}
