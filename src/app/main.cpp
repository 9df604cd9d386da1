// Application entry: shows the main window and runs the message loop.
#include "Imagenes.h"
#include "Main.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication aplicacion(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Gedanko"));
    QApplication::setWindowIcon(IconoPrograma());
    TFMain ventana;
    ventana.show();
    return aplicacion.exec();
}
