// Application entry: the application object, Qt's Spanish texts, the main
// window into FMain and the message loop. An error that escapes a handler or
// the window's construction is shown in the application's error box.
#include "Main.h"
#include "Imagenes.h"
#include "PantallaX.h"
#include "SenalesSalida.h"
#include "TraduccionQt.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

std::unique_ptr<TFMain> FMain;

namespace {

// Shows an error escaping an event handler and lets the message loop go on.
class TAplicacion : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receptor, QEvent* evento) override
    {
        try {
            return QApplication::notify(receptor, evento);
        } catch (const std::exception& error) {
            TFMain::MostrarErrorAplicacion(QString::fromLocal8Bit(error.what()));
        } catch (...) {
            TFMain::MostrarErrorAplicacion(QString());
        }
        return false;
    }
};

// Without any display the toolkit would abort with a message of its own.
bool HayPantalla(int argc, char* argv[])
{
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* valor = std::getenv(variable);
        if (valor && *valor)
            return true;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    if (!HayPantalla(argc, argv)) {
        // The program as it was started, so that the hint works from where
        // the operator stands (build/bin/gedanko, gedanko on the PATH, ...).
        std::fprintf(stderr,
                     "Gedanko necesita una pantalla gráfica y no se ha encontrado ninguna "
                     "(DISPLAY, WAYLAND_DISPLAY y QT_QPA_PLATFORM están vacías).\n"
                     "Para ejecutarlo sin pantalla, use un servidor X virtual:\n"
                     "    xvfb-run -a %s\n",
                     argc > 0 && argv[0] ? argv[0] : "gedanko");
        return 1;
    }
    PrepararPantallaX();
    TAplicacion aplicacion(argc, argv);
    // Outlives the window, whose shutdown may still show a message box.
    TTraduccionQt traduccion;
    if (!traduccion.Cargar())
        std::fprintf(stderr, "%s\n", traduccion.MensajeError().toUtf8().constData());
    try {
        QApplication::setApplicationName(QStringLiteral("Gedanko"));
        QApplication::setWindowIcon(IconoPrograma());
        // A session that ends by signal closes the window as the operator
        // would, after ending any run. Installed first: start-up pumps
        // messages, and a signal that arrives then is kept for afterwards.
        bool terminarAlCrear = false;
        TSenalesSalida senales([&terminarAlCrear] {
            if (FMain)
                FMain->Terminar();
            else
                terminarAlCrear = true;
        });
        if (!senales.Instalar())
            std::fprintf(stderr, "%s\n", senales.MensajeError().toUtf8().constData());
        FMain = std::make_unique<TFMain>();
        if (!terminarAlCrear) {
            FMain->show();
            QApplication::exec();
        }
    } catch (const std::exception& error) {
        TFMain::MostrarErrorAplicacion(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        TFMain::MostrarErrorAplicacion(QString());
    }
    // The shutdown steps run here, once the message loop has ended and while
    // the application can still show their error box.
    FMain.reset();
    return 0;
}
