// Application entry (placeholder window until the main window lands).
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication aplicacion(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Gedanko"));
    QLabel ventana(QStringLiteral("Gedanko"));
    ventana.setWindowTitle(QStringLiteral("Gedanko"));
    ventana.resize(774, 449);
    ventana.show();
    return aplicacion.exec();
}
