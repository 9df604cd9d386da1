#include "About.h"

#include "ColoresQt.h"
#include "ui_about.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QSvgRenderer>

namespace {

const char* const TextoProyecto
    = "Proyecto fin de carrera: un vehículo radiocontrolado conducido con las señales "
      "cerebrales que capta un casco de electroencefalografía (EEG), sin tocar mando alguno.";

// The program's icon, under the name agreed for it and under the name the
// artwork carries in the main window's resources.
const char* const RutasIcono[] = {":/iconos/gedanko.svg", ":/imagenes/icono.svg"};

} // namespace

TFAboutBox::TFAboutBox(QWidget* propietario)
    : QDialog(propietario, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                               | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      FUi(std::make_unique<Ui::TFAboutBox>())
{
    FUi->setupUi(this);

    // The designed face is 8 pt MS Sans Serif; Linux seldom has it, so a
    // sans-serif face of the same pixel size stands in.
    QFont fuente;
    fuente.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                        QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    fuente.setPixelSize(11);
    setFont(fuente);

    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, AColorQt(clBtnFace, paleta));
    setPalette(paleta);
    setAutoFillBackground(true);
    QPalette paletaPanel = FUi->PanelAbout->palette();
    paletaPanel.setColor(QPalette::Window, AColorQt(clWindow, paletaPanel));
    FUi->PanelAbout->setPalette(paletaPanel);

    setFixedSize(384, 215);
    FUi->LabelComentarios->setText(QString::fromUtf8(TextoProyecto));
    MostrarIcono();

    const QScreen* pantalla = propietario ? propietario->screen() : QGuiApplication::primaryScreen();
    if (pantalla)
        move(pantalla->availableGeometry().center() - rect().center());
}

TFAboutBox::~TFAboutBox() = default;

void TFAboutBox::EstablecerDatos(const QString& producto, const QString& proyecto, const QString& autor,
                                 const QString& version)
{
    FUi->LabelProducto->setText(producto);
    FUi->LabelProyecto->setText(proyecto);
    FUi->LabelAutor->setText(autor);
    FUi->LabelVersion->setText(version);
    for (QLabel* etiqueta : {FUi->LabelProducto, FUi->LabelProyecto, FUi->LabelAutor, FUi->LabelVersion})
        AjustarAlPanel(etiqueta);
}

// Sizes the label to its text. A text too long for the rest of the panel is
// written a little smaller rather than cut off; past the smallest size it is
// shortened with an ellipsis and shown whole as a tool tip.
void TFAboutBox::AjustarAlPanel(QLabel* etiqueta)
{
    constexpr int TamanoDisenado = 11;
    constexpr int TamanoMinimo = 9;
    const int disponible = FUi->PanelAbout->contentsRect().right() - etiqueta->x() + 1;
    QFont fuente = etiqueta->font();
    fuente.setPixelSize(TamanoDisenado);
    etiqueta->setFont(fuente);
    etiqueta->setToolTip(QString());
    etiqueta->adjustSize();
    while (etiqueta->width() > disponible && fuente.pixelSize() > TamanoMinimo) {
        fuente.setPixelSize(fuente.pixelSize() - 1);
        etiqueta->setFont(fuente);
        etiqueta->adjustSize();
    }
    if (etiqueta->width() > disponible) {
        const QString texto = etiqueta->text();
        etiqueta->setToolTip(texto);
        etiqueta->setText(etiqueta->fontMetrics().elidedText(texto, Qt::ElideRight, disponible));
        etiqueta->adjustSize();
    }
}

// The program's icon, fitted into the image's place; nothing when the
// artwork is not part of this build.
void TFAboutBox::MostrarIcono()
{
    QString ruta;
    for (const char* candidata : RutasIcono) {
        if (QFile::exists(QString::fromLatin1(candidata))) {
            ruta = QString::fromLatin1(candidata);
            break;
        }
    }
    if (ruta.isEmpty())
        return;
    QSvgRenderer dibujo(ruta);
    if (!dibujo.isValid())
        return;
    dibujo.setAspectRatioMode(Qt::KeepAspectRatio);
    QLabel* imagen = FUi->ImageIconoPrograma;
    const qreal escala = imagen->devicePixelRatioF();
    QPixmap lienzo(imagen->size() * escala);
    lienzo.setDevicePixelRatio(escala);
    lienzo.fill(Qt::transparent);
    QPainter pintor(&lienzo);
    dibujo.render(&pintor, QRectF(QPointF(0, 0), imagen->size()));
    pintor.end();
    imagen->setPixmap(lienzo);
}
