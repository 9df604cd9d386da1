// The program's help window: the operator's manual shown in a browser pane,
// beside the main window and without blocking it, so that the control loop
// goes on while the operator reads.
#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

class TVentanaAyuda : public QWidget {
    Q_OBJECT

public:
    explicit TVentanaAyuda(QWidget* propietario = nullptr);

    // Shows the manual at its first topic and brings the window to the front.
    // False when the file cannot be read; the window then says so.
    bool Mostrar(const QString& fichero);

    QTextBrowser* Navegador() const { return FNavegador; }

private:
    QTextBrowser* FNavegador;
};
