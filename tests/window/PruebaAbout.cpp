// The about box as designed: its frame, the place of every control, the four
// texts it is given and how it closes.
#include "About.h"
#include "InformacionVersion.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

template <typename T> T* Control(const QWidget& ventana, const char* nombre)
{
    T* control = ventana.findChild<T*>(QString::fromLatin1(nombre));
    EXPECT_NE(control, nullptr) << nombre;
    return control;
}

TEST(AboutBox, VentanaYControlesComoSeDisenaron)
{
    TFAboutBox caja;
    EXPECT_EQ(caja.windowTitle(), QStringLiteral("Acerca de..."));
    EXPECT_EQ(caja.size(), QSize(384, 215));
    EXPECT_EQ(caja.minimumSize(), caja.maximumSize()) << "fixed size";
    EXPECT_FALSE(caja.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(caja.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(caja.isModal());
    const QRect pantalla = caja.screen()->availableGeometry();
    EXPECT_LE((caja.geometry().center() - pantalla.center()).manhattanLength(), 2) << "centred on the screen";

    const std::pair<const char*, QRect> geometrias[] = {
        {"PanelAbout", QRect(8, 8, 368, 161)},
        {"ImageIconoPrograma", QRect(8, 8, 81, 70)},
        {"LabelComentarios", QRect(8, 109, 350, 41)},
        {"ButtonAceptar", QRect(154, 180, 75, 25)},
    };
    for (const auto& [nombre, geometria] : geometrias) {
        if (const QWidget* control = Control<QWidget>(caja, nombre)) {
            EXPECT_EQ(control->geometry(), geometria) << nombre;
        }
    }
    const std::tuple<const char*, QPoint, bool> etiquetas[] = {
        {"LabelProducto", QPoint(96, 10), true},     {"LabelProyecto", QPoint(96, 30), true},
        {"LabelVersion", QPoint(96, 50), true},      {"LabelAutor", QPoint(8, 87), false},
        {"LabelComentarios", QPoint(8, 109), false},
    };
    const QFrame* panel = Control<QFrame>(caja, "PanelAbout");
    for (const auto& [nombre, posicion, negrita] : etiquetas) {
        if (const QLabel* etiqueta = Control<QLabel>(caja, nombre)) {
            EXPECT_EQ(etiqueta->pos(), posicion) << nombre;
            EXPECT_EQ(etiqueta->parentWidget(), panel) << nombre;
            EXPECT_EQ(etiqueta->font().bold(), negrita) << nombre;
            EXPECT_EQ(etiqueta->font().pixelSize(), 11) << nombre;
        }
    }
    const QPushButton* aceptar = Control<QPushButton>(caja, "ButtonAceptar");
    EXPECT_EQ(aceptar->text(), QStringLiteral("Aceptar"));
    EXPECT_TRUE(aceptar->isDefault());
}

TEST(AboutBox, ElTextoDelProyectoCabeEnTresLineas)
{
    TFAboutBox caja;
    const QLabel* comentarios = Control<QLabel>(caja, "LabelComentarios");
    ASSERT_FALSE(comentarios->text().isEmpty());
    const int alto = comentarios->heightForWidth(comentarios->width());
    EXPECT_LE(alto, comentarios->height()) << "the project text is cut off";
    EXPECT_GT(alto, 2 * comentarios->fontMetrics().height()) << "expected three lines";
}

TEST(AboutBox, EstablecerDatosPoneCadaTextoEnSuEtiquetaYLoMuestraEntero)
{
    TFAboutBox caja;
    const TInformacionVersion informacion = TInformacionVersion::Leer();
    // Twice, to see that nothing accumulates.
    for (int vez = 0; vez < 2; ++vez) {
        caja.EstablecerDatos(informacion.FNombreInterno, informacion.FNombreProducto, informacion.TextoAutor(),
                             informacion.TextoVersion());
    }
    const std::pair<const char*, QString> esperados[] = {
        {"LabelProducto", QStringLiteral("Gedanko")},
        {"LabelProyecto", QStringLiteral("Gedanko: conducción de un vehículo con señales cerebrales")},
        {"LabelAutor", QStringLiteral("14/09/2010 - Proyecto Gedanko")},
        {"LabelVersion", QStringLiteral("Versión: 1.0.0 (1.0.0.6)")},
    };
    const QFrame* panel = Control<QFrame>(caja, "PanelAbout");
    for (const auto& [nombre, texto] : esperados) {
        const QLabel* etiqueta = Control<QLabel>(caja, nombre);
        ASSERT_NE(etiqueta, nullptr);
        EXPECT_EQ(etiqueta->text(), texto) << nombre;
        EXPECT_GE(etiqueta->width(), etiqueta->sizeHint().width()) << nombre << " is cut off";
        EXPECT_LE(etiqueta->geometry().right(), panel->contentsRect().right()) << nombre << " leaves the panel";
    }
    // Only a text too long for the panel is written smaller.
    for (const char* nombre : {"LabelProducto", "LabelVersion", "LabelAutor"})
        EXPECT_EQ(Control<QLabel>(caja, nombre)->font().pixelSize(), 11) << nombre;
}

TEST(AboutBox, UnTextoQueNoCabeSeAbreviaYSeLeeEnteroEnLaSugerencia)
{
    TFAboutBox caja;
    const QString largo = QStringLiteral("Un título larguísimo ").repeated(6);
    caja.EstablecerDatos(QStringLiteral("Gedanko"), largo, QStringLiteral("autor"), QStringLiteral("versión"));
    const QLabel* proyecto = Control<QLabel>(caja, "LabelProyecto");
    const QFrame* panel = Control<QFrame>(caja, "PanelAbout");
    EXPECT_LE(proyecto->geometry().right(), panel->contentsRect().right());
    EXPECT_TRUE(proyecto->text().endsWith(QChar(0x2026)));
    EXPECT_EQ(proyecto->toolTip(), largo);

    // The next texts start again from the designed size, without the tip.
    caja.EstablecerDatos(QStringLiteral("Gedanko"), QStringLiteral("corto"), QStringLiteral("autor"),
                         QStringLiteral("versión"));
    EXPECT_EQ(proyecto->text(), QStringLiteral("corto"));
    EXPECT_EQ(proyecto->font().pixelSize(), 11);
    EXPECT_TRUE(proyecto->toolTip().isEmpty());
}

TEST(AboutBox, SinInformacionDeVersionSoloLasPartesFijas)
{
    TFAboutBox caja;
    const TInformacionVersion vacia;
    caja.EstablecerDatos(vacia.FNombreInterno, vacia.FNombreProducto, vacia.TextoAutor(), vacia.TextoVersion());
    EXPECT_EQ(Control<QLabel>(caja, "LabelVersion")->text(), QStringLiteral("Versión:  ()"));
    EXPECT_EQ(Control<QLabel>(caja, "LabelAutor")->text(), QStringLiteral(" - "));
    EXPECT_TRUE(Control<QLabel>(caja, "LabelProducto")->text().isEmpty());
    EXPECT_FALSE(Control<QLabel>(caja, "LabelComentarios")->text().isEmpty());
}

TEST(AboutBox, AceptarYLaTeclaIntroCierranConResultadoOk)
{
    for (const bool conTecla : {false, true}) {
        TFAboutBox caja;
        caja.show();
        ASSERT_TRUE(caja.isVisible());
        if (conTecla) {
            QKeyEvent intro(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(&caja, &intro);
        } else {
            Control<QPushButton>(caja, "ButtonAceptar")->click();
        }
        EXPECT_FALSE(caja.isVisible()) << (conTecla ? "Enter" : "click");
        EXPECT_EQ(caja.result(), QDialog::Accepted) << (conTecla ? "Enter" : "click");
    }
}

} // namespace
