// The about box: the program's name, title, version and author line over the
// fixed text about the project, closed with "Aceptar".
#pragma once

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class TFAboutBox;
}
class QLabel;

class TFAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TFAboutBox(QWidget* propietario = nullptr);
    ~TFAboutBox() override;

    // Puts the four texts into LabelProducto, LabelProyecto, LabelAutor and
    // LabelVersion, each label sized to its text.
    void EstablecerDatos(const QString& producto, const QString& proyecto, const QString& autor,
                         const QString& version);

private:
    void MostrarIcono();
    void AjustarAlPanel(QLabel* etiqueta);

    std::unique_ptr<Ui::TFAboutBox> FUi;
};
