// The window's own widgets and picture lists.
#include "BarraProgreso.h"
#include "Borde.h"
#include "ColoresQt.h"
#include "Controles.h"
#include "Gauge.h"
#include "Imagenes.h"
#include "Impresion.h"
#include "RadioGroup.h"
#include "Shape.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {

TEST(Gauge, HoldsItsProgressInsideTheRangeAndWritesTheWholePercentage)
{
    TGauge gauge;
    struct TCaso {
        int minimo, maximo, progreso;
        int progresoHeld;
        const char* texto;
    };
    const TCaso casos[] = {
        {0, 100, 50, 50, "50%"}, {0, 4, 5, 4, "100%"},    {0, 4, -2, 0, "0%"}, {0, 3, 2, 2, "66%"},
        {0, 3, 1, 1, "33%"},     {10, 20, 15, 15, "50%"}, {0, 0, 0, 0, "0%"},  {0, 10, 7, 7, "70%"},
    };
    for (const TCaso& c : casos) {
        SCOPED_TRACE(testing::Message() << c.minimo << ".." << c.maximo << " " << c.progreso);
        gauge.FijarMinimo(c.minimo);
        gauge.FijarMaximo(c.maximo);
        gauge.FijarProgreso(c.progreso);
        EXPECT_EQ(gauge.Progreso(), c.progresoHeld);
        EXPECT_EQ(gauge.Texto(), c.texto);
    }
    // Narrowing the range pulls the progress in; a maximum below the minimum is an empty range.
    gauge.FijarMinimo(0);
    gauge.FijarMaximo(10);
    gauge.FijarProgreso(9);
    gauge.FijarMaximo(4);
    EXPECT_EQ(gauge.Progreso(), 4);
    gauge.FijarMaximo(-1);
    EXPECT_EQ(gauge.Maximo(), 0);
    EXPECT_EQ(gauge.Progreso(), 0);
    EXPECT_EQ(gauge.Texto(), "0%");
}

// The fill grows from the left, or from the bottom when vertical, inside a
// one-pixel black border.
TEST(Gauge, PaintsTheFillFromItsStartEdge)
{
    TGauge gauge;
    gauge.resize(22, 102);
    gauge.FijarMostrarTexto(false);
    gauge.FijarColorRelleno(Qt::blue);
    gauge.FijarColorFondo(Qt::yellow);
    gauge.FijarMaximo(10);
    gauge.FijarProgreso(3);

    gauge.FijarVertical(true);
    QImage vertical = gauge.grab().toImage();
    EXPECT_EQ(vertical.pixelColor(0, 50), QColor(Qt::black));
    EXPECT_EQ(vertical.pixelColor(10, 100), QColor(Qt::blue));
    EXPECT_EQ(vertical.pixelColor(10, 71), QColor(Qt::blue));
    EXPECT_EQ(vertical.pixelColor(10, 70), QColor(Qt::yellow));
    EXPECT_EQ(vertical.pixelColor(10, 1), QColor(Qt::yellow));

    gauge.resize(102, 22);
    gauge.FijarVertical(false);
    QImage horizontal = gauge.grab().toImage();
    EXPECT_EQ(horizontal.pixelColor(50, 0), QColor(Qt::black));
    EXPECT_EQ(horizontal.pixelColor(1, 10), QColor(Qt::blue));
    EXPECT_EQ(horizontal.pixelColor(30, 10), QColor(Qt::blue));
    EXPECT_EQ(horizontal.pixelColor(31, 10), QColor(Qt::yellow));
}

// The outline drawn as fills must be the very pixels of a stroked one, and
// nothing outside the zone asked for.
TEST(Borde, PaintsTheStrokedOutlinesPixelsInsideTheZoneOnly)
{
    struct TCaso {
        QRect caja, zona;
    };
    const TCaso casos[] = {
        {{0, 0, 20, 10}, {0, 0, 30, 30}}, {{3, 4, 20, 10}, {0, 0, 30, 30}}, {{2, 2, 1, 12}, {0, 0, 30, 30}},
        {{2, 2, 12, 1}, {0, 0, 30, 30}},  {{1, 1, 25, 20}, {5, 0, 3, 30}},  {{1, 1, 25, 20}, {24, 18, 6, 6}},
        {{1, 1, 25, 20}, {8, 8, 4, 4}},   {{1, 1, 25, 20}, {0, 0, 0, 0}},
    };
    for (const TCaso& c : casos) {
        SCOPED_TRACE(testing::Message() << "caja " << c.caja.x() << "," << c.caja.y() << " " << c.caja.width() << "x"
                                        << c.caja.height() << " zona " << c.zona.x() << "," << c.zona.y() << " "
                                        << c.zona.width() << "x" << c.zona.height());
        QImage esperada(30, 30, QImage::Format_ARGB32_Premultiplied);
        esperada.fill(Qt::white);
        QImage pintada = esperada;
        {
            QPainter lienzo(&esperada);
            lienzo.setClipRect(c.zona);
            lienzo.setPen(QPen(Qt::red, 1));
            if (!c.zona.isEmpty())
                lienzo.drawRect(c.caja.adjusted(0, 0, -1, -1));
        }
        {
            QPainter lienzo(&pintada);
            PintarBorde(lienzo, c.caja, Qt::red, c.zona);
        }
        EXPECT_EQ(pintada, esperada);
    }
}

// An empty bar shows no trace of its colour; a half one fills half.
TEST(BarraProgreso, FillsFromItsStartEdgeAndNothingWhenEmpty)
{
    TBarraProgreso barra;
    barra.resize(23, 42);
    barra.setOrientation(Qt::Vertical);
    barra.setRange(0, 2);
    FijarColorBarra(&barra, Qt::green);
    auto pixelesVerdes = [&barra] {
        const QImage imagen = barra.grab().toImage();
        int verdes = 0;
        for (int y = 0; y < imagen.height(); ++y)
            for (int x = 0; x < imagen.width(); ++x)
                verdes += imagen.pixelColor(x, y) == QColor(Qt::green);
        return verdes;
    };
    barra.setValue(0);
    EXPECT_EQ(pixelesVerdes(), 0);
    barra.setValue(1);
    EXPECT_EQ(pixelesVerdes(), 21 * 20);
    EXPECT_EQ(barra.grab().toImage().pixelColor(10, 40), QColor(Qt::green));
    barra.setValue(2);
    EXPECT_EQ(pixelesVerdes(), 21 * 40);

    barra.resize(100, 13);
    barra.setOrientation(Qt::Horizontal);
    barra.setRange(0, 100);
    barra.setValue(50);
    const QImage horizontal = barra.grab().toImage();
    EXPECT_EQ(horizontal.pixelColor(1, 6), QColor(Qt::green));
    EXPECT_EQ(horizontal.pixelColor(49, 6), QColor(Qt::green));
    EXPECT_NE(horizontal.pixelColor(50, 6), QColor(Qt::green));
}

TEST(Shape, DrawsACircleOrAFilledBar)
{
    TShape forma;
    forma.resize(20, 20);
    forma.FijarCirculo(true);
    forma.FijarAnchoBorde(2);
    forma.FijarColorRelleno(Qt::green);
    QImage circulo(20, 20, QImage::Format_ARGB32_Premultiplied);
    circulo.fill(Qt::transparent);
    forma.render(&circulo, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_EQ(circulo.pixelColor(10, 10), QColor(Qt::green));
    EXPECT_EQ(circulo.pixelColor(10, 0).alpha() > 0 ? circulo.pixelColor(10, 0).lightness() : 0, 0); // outline
    EXPECT_EQ(circulo.pixelColor(0, 0).alpha(), 0); // corner stays clear

    forma.resize(18, 3);
    forma.FijarCirculo(false);
    forma.FijarAnchoBorde(0);
    forma.FijarColorRelleno(Qt::red);
    const QImage barra = forma.grab().toImage();
    for (int x : {0, 9, 17})
        for (int y : {0, 2})
            EXPECT_EQ(barra.pixelColor(x, y), QColor(Qt::red)) << x << "," << y;
}

TEST(RadioGroup, KeepsTheChosenItemAndReportsOnlyTheOperatorsClicks)
{
    TRadioGroup grupo;
    grupo.resize(165, 51);
    grupo.FijarIndiceElemento(0); // before the items exist, as a form sets it
    grupo.FijarElementos({"EmoEngine", "EmoComposer"});
    EXPECT_EQ(grupo.IndiceElemento(), 0);
    ASSERT_NE(grupo.Boton(1), nullptr);
    EXPECT_EQ(grupo.Boton(2), nullptr);
    EXPECT_TRUE(grupo.Boton(0)->isChecked());
    EXPECT_LT(grupo.Boton(0)->geometry().bottom(), grupo.Boton(1)->geometry().top());

    QSignalSpy pulsado(&grupo, &TRadioGroup::Click);
    grupo.FijarIndiceElemento(1);
    EXPECT_EQ(grupo.IndiceElemento(), 1);
    EXPECT_EQ(pulsado.count(), 0);
    grupo.Boton(0)->click();
    EXPECT_EQ(grupo.IndiceElemento(), 0);
    EXPECT_EQ(pulsado.count(), 1);
    grupo.FijarIndiceElemento(-1);
    EXPECT_EQ(grupo.IndiceElemento(), -1);
}

TEST(VincularBoton, TheActionDecidesTheButtonsLookAndAClickTriggersIt)
{
    QWidget ventana;
    QAction accion(QStringLiteral("Conectar"));
    accion.setToolTip(QStringLiteral("Pista"));
    QPushButton boton(&ventana);
    VincularBoton(&boton, &accion);
    ventana.show();
    EXPECT_EQ(boton.text(), "Conectar");
    EXPECT_EQ(boton.toolTip(), "Pista");

    accion.setText(QStringLiteral("Otro"));
    accion.setEnabled(false);
    EXPECT_EQ(boton.text(), "Otro");
    EXPECT_FALSE(boton.isEnabled());
    accion.setEnabled(true);
    accion.setVisible(false);
    EXPECT_FALSE(boton.isVisible());
    accion.setVisible(true);
    EXPECT_TRUE(boton.isVisible());

    QSignalSpy disparos(&accion, &QAction::triggered);
    boton.click();
    EXPECT_EQ(disparos.count(), 1);

    // A checkable action toggles once per click and the button follows it.
    accion.setCheckable(true);
    boton.click();
    EXPECT_TRUE(accion.isChecked());
    EXPECT_TRUE(boton.isChecked());
    boton.click();
    EXPECT_FALSE(accion.isChecked());
    EXPECT_FALSE(boton.isChecked());
}

TEST(Controles, ColoursLandOnTheRoleEachControlPaints)
{
    QLabel etiqueta;
    FijarColorFondo(&etiqueta, clGreen);
    EXPECT_TRUE(etiqueta.autoFillBackground());
    EXPECT_EQ(etiqueta.palette().color(QPalette::Disabled, QPalette::Window), AColorQt(clGreen));
    EXPECT_EQ(ColorFondo(&etiqueta), AColorQt(clGreen));

    QLineEdit edit;
    FijarColorFondo(&edit, clBtnFace);
    EXPECT_EQ(edit.palette().color(QPalette::Base), AColorQt(clBtnFace));
    FijarColorFuente(&edit, Qt::red);
    EXPECT_EQ(ColorFuente(&edit), QColor(Qt::red));
}

// Picture lists: sizes, transparency and which part is lit in which colour.
TEST(Imagenes, ListsHaveTheirSizesAndNothingOutsideThem)
{
    const std::tuple<QPixmap (*)(int), int, QSize> listas[] = {
        {ImagenCasco, NumImagenesCasco, {220, 256}},
        {ImagenFlechasArribaAbajo, NumImagenesFlechasArribaAbajo, {30, 160}},
        {ImagenFlechasIzquierdaDerecha, NumImagenesFlechasIzquierdaDerecha, {160, 30}},
        {ImagenToolBars, NumImagenesToolBars, {24, 24}},
    };
    for (const auto& [lista, cuantas, tamano] : listas) {
        for (int i = 0; i < cuantas; ++i) {
            const QImage imagen = lista(i).toImage();
            EXPECT_EQ(imagen.size(), tamano) << i;
            EXPECT_EQ(imagen.pixelColor(0, 0).alpha(), 0) << i; // transparent corner
            EXPECT_GT(imagen.pixelColor(tamano.width() / 2, tamano.height() / 2).alpha()
                          + imagen.pixelColor(tamano.width() / 3, tamano.height() / 2).alpha(),
                      0)
                << i; // something is drawn
        }
        EXPECT_TRUE(lista(-1).isNull());
        EXPECT_TRUE(lista(cuantas).isNull());
    }
    EXPECT_EQ(ImagenLeyenda().size(), QSize(20, 130));
    EXPECT_EQ(GlifoCarpeta().size(), QSize(16, 16));
    EXPECT_EQ(GlifoCentrar().size(), QSize(16, 16));
    EXPECT_FALSE(IconoPrograma().isNull());
}

QColor Pixel(const QPixmap& imagen, int x, int y)
{
    return imagen.toImage().pixelColor(x, y);
}

TEST(Imagenes, ArrowsLightTheirPartInLimeOrYellow)
{
    const QColor verde = AColorQt(clGreen), lima = AColorQt(clLime), amarillo = AColorQt(clYellow);
    auto cerca = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) < 60 && std::abs(a.green() - b.green()) < 60
               && std::abs(a.blue() - b.blue()) < 60;
    };
    // Sample points in the lower half of each part, away from the highlight: up (15,45),
    // dot (15,80), down (15,140).
    const QColor arribaAbajo[7][3] = {
        {verde, verde, verde},    {verde, lima, verde},     {lima, verde, verde},     {verde, verde, lima},
        {verde, amarillo, verde}, {amarillo, verde, verde}, {verde, verde, amarillo},
    };
    for (int i = 0; i < 7; ++i) {
        const QPixmap imagen = ImagenFlechasArribaAbajo(i);
        EXPECT_TRUE(cerca(Pixel(imagen, 15, 45), arribaAbajo[i][0])) << i;
        EXPECT_TRUE(cerca(Pixel(imagen, 15, 80), arribaAbajo[i][1])) << i;
        EXPECT_TRUE(cerca(Pixel(imagen, 15, 140), arribaAbajo[i][2])) << i;
        EXPECT_EQ(Pixel(imagen, 15, 95).alpha(), 0) << i; // between the dot and the down arrow
    }
    // Left (45,15), right (115,15).
    const QColor izquierdaDerecha[5][2] = {
        {verde, verde}, {lima, verde}, {verde, lima}, {amarillo, verde}, {verde, amarillo},
    };
    for (int i = 0; i < 5; ++i) {
        const QPixmap imagen = ImagenFlechasIzquierdaDerecha(i);
        EXPECT_TRUE(cerca(Pixel(imagen, 45, 15), izquierdaDerecha[i][0])) << i;
        EXPECT_TRUE(cerca(Pixel(imagen, 115, 15), izquierdaDerecha[i][1])) << i;
        EXPECT_EQ(Pixel(imagen, 80, 15).alpha(), 0) << i;
    }
}

TEST(Imagenes, HeadTintsAndLegendSymbols)
{
    // A point of the brain in each tint.
    const QColor gris = Pixel(ImagenCasco(0), 60, 140);
    const QColor cian = Pixel(ImagenCasco(1), 60, 140);
    const QColor rojo = Pixel(ImagenCasco(2), 60, 140);
    EXPECT_LT(std::abs(gris.red() - gris.blue()), 12);
    EXPECT_GT(cian.blue(), cian.red() + 40);
    EXPECT_GT(rojo.red(), rojo.blue() + 40);

    const QPixmap leyenda = ImagenLeyenda();
    EXPECT_EQ(Pixel(leyenda, 0, 60), QColor(Qt::black)); // left edge
    EXPECT_EQ(Pixel(leyenda, 12, 0), QColor(Qt::black)); // top edge
    EXPECT_EQ(Pixel(leyenda, 12, 129), QColor(Qt::black)); // bottom edge
    EXPECT_EQ(Pixel(leyenda, 19, 60), QColor(Qt::white)); // no line on the right
    const std::pair<int, TColor> simbolos[] = {
        {19, clBlack}, {39, clBlue}, {59, clRed}, {79, clGreen}, {99, clFuchsia}, {119, clTeal},
    };
    for (const auto& [y, color] : simbolos)
        EXPECT_EQ(Pixel(leyenda, 10, y), AColorQt(color)) << y;
}

// Dragging a track bar's thumb shows its position in a tip above it.
TEST(MostrarPosicionAlArrastrar, UnaPistaSobreElMandoSigueLaPosicionMientrasSeArrastra)
{
    QWidget ventana;
    QSlider barra(Qt::Horizontal, &ventana);
    barra.setGeometry(10, 60, 119, 40);
    barra.setRange(0, 10);
    barra.setValue(5);
    barra.setToolTip(QStringLiteral("Umbral Giro: 50%"));
    MostrarPosicionAlArrastrar(&barra);
    ventana.resize(200, 120);
    ventana.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ventana));

    barra.setSliderDown(true);
    barra.setSliderPosition(7);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("7"));
    barra.setSliderPosition(3);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("3"));
    barra.setSliderDown(false);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
}

} // namespace
