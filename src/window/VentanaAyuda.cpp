#include "VentanaAyuda.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

TVentanaAyuda::TVentanaAyuda(QWidget* propietario)
    : QWidget(propietario, Qt::Window),
      FNavegador(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("VentanaAyuda"));
    setWindowTitle(QStringLiteral("Ayuda de Gedanko"));
    setWindowModality(Qt::NonModal);
    FNavegador->setObjectName(QStringLiteral("NavegadorAyuda"));
    FNavegador->setOpenExternalLinks(true);
    auto* disposicion = new QVBoxLayout(this);
    disposicion->setContentsMargins(0, 0, 0, 0);
    disposicion->addWidget(FNavegador);
    resize(680, 560);
}

bool TVentanaAyuda::Mostrar(const QString& fichero)
{
    const QFileInfo informacion(fichero);
    const bool existe = informacion.isFile() && informacion.isReadable();
    if (existe) {
        const QUrl direccion = QUrl::fromLocalFile(informacion.absoluteFilePath());
        // The same file is read again: it may have changed, and the operator
        // may have followed links away from the first topic.
        if (FNavegador->source() == direccion)
            FNavegador->reload();
        else
            FNavegador->setSource(direccion);
        FNavegador->moveCursor(QTextCursor::Start);
        FNavegador->verticalScrollBar()->setValue(0);
    } else {
        FNavegador->setHtml(
            QStringLiteral("<h2>No se encuentra el fichero de ayuda</h2><p>%1</p>").arg(fichero.toHtmlEscaped()));
    }
    show();
    raise();
    activateWindow();
    return existe;
}
