// The window's modal dialogs behind one narrow interface, so that tests can
// answer them without a person.
#pragma once

#include <QString>

class QWidget;

class TDialogos {
public:
    virtual ~TDialogos() = default;
    // The chosen file, or an empty text when the operator cancels.
    virtual QString ElegirFicheroGuardar(QWidget* padre) = 0;
    virtual QString ElegirFicheroAbrir(QWidget* padre) = 0;
    // Error box: error icon, caption "Error", one OK button.
    virtual void MostrarError(QWidget* padre, const QString& texto) = 0;
    // Plain box: no icon, the application's title as caption, one OK button.
    virtual void MostrarMensaje(QWidget* padre, const QString& texto) = 0;
};

// The real dialogs, with the titles, filters and options of the design. Each
// remembers the name chosen last time.
class TDialogosQt : public TDialogos {
public:
    QString ElegirFicheroGuardar(QWidget* padre) override;
    QString ElegirFicheroAbrir(QWidget* padre) override;
    void MostrarError(QWidget* padre, const QString& texto) override;
    void MostrarMensaje(QWidget* padre, const QString& texto) override;

private:
    QString FUltimoGuardado;
    QString FUltimoAbierto;
};
