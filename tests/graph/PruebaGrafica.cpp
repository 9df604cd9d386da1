// The strip chart: how it keeps and scrolls its histories, and the pixels it
// paints in the idle and active looks.
#include "ColoresQt.h"
#include "Grafica.h"
#include "PaintBox.h"
#include "PantallaPrueba.h"

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPolygonF>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace {

class Grafica : public testing::Test {
protected:
    void SetUp() override
    {
        FVentana.resize(800, 140);
        FCaja = new TPaintBox(&FVentana);
        FCaja->setGeometry(23, 3, 748, 130);
        FLeyenda = new QLabel(&FVentana);
        FLeyenda->setGeometry(3, 3, 20, 130);
        FGrafica = std::make_unique<TGrafica>(FCaja, FLeyenda);
    }

    // Paints the chart as the paint box would, onto an image of its size.
    QImage Pintar()
    {
        QImage imagen(FCaja->size(), QImage::Format_RGB32);
        imagen.fill(Qt::magenta);
        QPainter lienzo(&imagen);
        FGrafica->Pintar(lienzo);
        return imagen;
    }

    static QRgb Rgb(TColor color, const QPalette& paleta = QPalette()) { return AColorQt(color, paleta).rgb(); }

    QWidget FVentana;
    TPaintBox* FCaja = nullptr;
    QLabel* FLeyenda = nullptr;
    std::unique_ptr<TGrafica> FGrafica;
};

TEST_F(Grafica, EmpiezaInactivaVaciaYConLaLeyendaOculta)
{
    EXPECT_FALSE(FGrafica->Activa());
    EXPECT_EQ(FGrafica->NumMuestras(), 0);
    EXPECT_TRUE(FLeyenda->isHidden());
    for (int s = 0; s < NumSeriesGrafica; ++s)
        for (int x = 0; x < TGrafica::NumColumnas; ++x)
            ASSERT_EQ(FGrafica->Muestra(s, x), 0);
}

TEST_F(Grafica, ActivarMuestraYOcultaLaLeyendaSinRepintar)
{
    int pinturas = 0;
    FCaja->FijarManejador([&](QPainter&, const QRect&) { ++pinturas; });
    FVentana.show();
    QCoreApplication::processEvents();
    pinturas = 0;

    FGrafica->Activar(true);
    EXPECT_TRUE(FGrafica->Activa());
    EXPECT_FALSE(FLeyenda->isHidden());
    FGrafica->Activar(false);
    EXPECT_FALSE(FGrafica->Activa());
    EXPECT_TRUE(FLeyenda->isHidden());
    QCoreApplication::processEvents();
    EXPECT_EQ(pinturas, 0);
}

TEST_F(Grafica, GuardaCadaMuestraEnSuSerieDesdeElIndiceUno)
{
    FGrafica->AnadirMuestra({10, 1, 2, 3, 4, 65535});
    ASSERT_EQ(FGrafica->NumMuestras(), 1);
    const TMuestraGrafica esperada {10, 1, 2, 3, 4, 65535};
    for (int s = 0; s < NumSeriesGrafica; ++s) {
        EXPECT_EQ(FGrafica->Muestra(s, 0), 0) << s;
        EXPECT_EQ(FGrafica->Muestra(s, 1), esperada[s]) << s;
        EXPECT_EQ(FGrafica->Muestra(s, 2), 0) << s;
    }
}

TEST_F(Grafica, AlLlenarseDesplazaCincuentaColumnas)
{
    // Sample k carries the value k on every series, so a move is visible.
    for (int k = 1; k <= 747; ++k) {
        TMuestraGrafica muestra;
        muestra.fill(std::uint16_t(k));
        FGrafica->AnadirMuestra(muestra);
    }
    ASSERT_EQ(FGrafica->NumMuestras(), 747);
    EXPECT_EQ(FGrafica->Muestra(3, 747), 747);
    EXPECT_EQ(FGrafica->Muestra(3, 0), 0);

    FGrafica->AnadirMuestra({9999, 9999, 9999, 9999, 9999, 9999});
    ASSERT_EQ(FGrafica->NumMuestras(), 698);
    for (int s = 0; s < NumSeriesGrafica; ++s) {
        EXPECT_EQ(FGrafica->Muestra(s, 0), 50) << s;
        EXPECT_EQ(FGrafica->Muestra(s, 697), 747) << s;
        EXPECT_EQ(FGrafica->Muestra(s, 698), 9999) << s;
        for (int x = 699; x < TGrafica::NumColumnas; ++x)
            ASSERT_EQ(FGrafica->Muestra(s, x), 0) << s << " " << x;
    }

    // Scrolling repeats every 50 samples once full.
    for (int k = 0; k < 49; ++k)
        FGrafica->AnadirMuestra({});
    EXPECT_EQ(FGrafica->NumMuestras(), 747);
    FGrafica->AnadirMuestra({});
    EXPECT_EQ(FGrafica->NumMuestras(), 698);
    EXPECT_EQ(FGrafica->Muestra(0, 0), 100);
}

TEST_F(Grafica, BorrarVaciaLasSeriesSinDesactivar)
{
    FGrafica->Activar(true);
    for (int k = 0; k < 800; ++k)
        FGrafica->AnadirMuestra({7, 7, 7, 7, 7, 7});
    FGrafica->Borrar();
    EXPECT_TRUE(FGrafica->Activa());
    EXPECT_EQ(FGrafica->NumMuestras(), 0);
    for (int s = 0; s < NumSeriesGrafica; ++s)
        for (int x = 0; x < TGrafica::NumColumnas; ++x)
            ASSERT_EQ(FGrafica->Muestra(s, x), 0);
    FGrafica->AnadirMuestra({1, 0, 0, 0, 0, 0});
    EXPECT_EQ(FGrafica->Muestra(0, 1), 1);
}

// The window paints once per pass of the loop: samples added in between are
// painted together, at the next message pump, and only their columns.
TEST_F(Grafica, LasMuestrasSePintanJuntasEnLaSiguientePasada)
{
    FGrafica->Activar(true);
    FVentana.show();
    FGrafica->AnadirMuestra({}); // the first after Activar paints the whole box
    QCoreApplication::processEvents();
    int pinturas = 0;
    QRect zona;
    FCaja->FijarManejador([&](QPainter&, const QRect& pintada) {
        ++pinturas;
        zona = pintada;
    });
    FGrafica->AnadirMuestra({});
    FGrafica->AnadirMuestra({});
    EXPECT_EQ(pinturas, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(pinturas, 1);
    EXPECT_EQ(zona, QRect(0, 0, 4, FCaja->height()));
}

TEST_F(Grafica, InactivaEsUnaCajaGrisDelColorDeBoton)
{
    QPalette paleta = FCaja->palette();
    paleta.setColor(QPalette::Button, QColor(0x12, 0x34, 0x56));
    FCaja->setPalette(paleta);
    FGrafica->AnadirMuestra({10, 10, 10, 10, 10, 10}); // ignored while idle

    const QImage imagen = Pintar();
    const QRgb gris = Rgb(clGray);
    const QRgb boton = qRgb(0x12, 0x34, 0x56);
    for (int x = 0; x < 748; ++x) {
        ASSERT_EQ(imagen.pixel(x, 0), gris) << x;
        ASSERT_EQ(imagen.pixel(x, 129), gris) << x;
    }
    for (int y = 0; y < 130; ++y) {
        ASSERT_EQ(imagen.pixel(0, y), gris) << y;
        ASSERT_EQ(imagen.pixel(747, y), gris) << y;
    }
    for (int y = 1; y < 129; ++y)
        for (int x = 1; x < 747; ++x)
            ASSERT_EQ(imagen.pixel(x, y), boton) << x << "," << y;
}

TEST_F(Grafica, ActivaVaciaEsBlancaConMarcoNegroYLineasPlata)
{
    FGrafica->Activar(true);
    const QRgb base = Rgb(clWindow, FCaja->palette());
    const QImage imagen = Pintar();
    for (int x = 0; x < 748; ++x) {
        ASSERT_EQ(imagen.pixel(x, 0), Rgb(clBlack)) << x;
        ASSERT_EQ(imagen.pixel(x, 129), Rgb(clBlack)) << x;
    }
    for (int y = 0; y < 130; ++y) {
        const bool lineaBase = y % 20 == 0 && y >= 20 && y <= 120;
        ASSERT_EQ(imagen.pixel(0, y), lineaBase ? Rgb(clSilver) : Rgb(clBlack)) << y;
        ASSERT_EQ(imagen.pixel(747, y), lineaBase ? Rgb(clSilver) : Rgb(clBlack)) << y;
        if (y == 0 || y == 129)
            continue;
        for (int x = 1; x < 747; ++x)
            ASSERT_EQ(imagen.pixel(x, y), lineaBase ? Rgb(clSilver) : base) << x << "," << y;
    }
}

TEST_F(Grafica, LasLineasPlataTienenLongitudFijaAunqueLaCajaSeaMayor)
{
    FCaja->resize(760, 130);
    FGrafica->Activar(true);
    const QImage imagen = Pintar();
    EXPECT_EQ(imagen.pixel(747, 20), Rgb(clSilver));
    EXPECT_EQ(imagen.pixel(748, 20), Rgb(clWindow, FCaja->palette()));
    EXPECT_EQ(imagen.pixel(759, 20), Rgb(clBlack));
}

TEST_F(Grafica, LaMuestraNuevaSeDibujaEnSeguidaDesdeSuLineaBase)
{
    FGrafica->Activar(true);
    FGrafica->AnadirMuestra({10, 0, 0, 0, 0, 0});
    const QImage imagen = Pintar();
    const QRgb base = Rgb(clWindow, FCaja->palette());

    // Series 0 climbs from its baseline at column 0 to y 10 at column 1.
    EXPECT_EQ(imagen.pixel(1, 10), Rgb(clBlack));
    EXPECT_EQ(imagen.pixel(1, 9), base);
    for (int y = 11; y < 20; ++y)
        EXPECT_NE(imagen.pixel(1, y), Rgb(clBlack)) << y;
    // Nothing is drawn past the newest sample.
    EXPECT_EQ(imagen.pixel(2, 20), Rgb(clSilver));
    EXPECT_EQ(imagen.pixel(2, 10), base);
    // The other series lie on their baselines up to column 1.
    const std::array<TColor, 6> colores {clBlack, clBlue, clRed, clGreen, clFuchsia, clTeal};
    for (int s = 1; s < 6; ++s) {
        const int y = TGrafica::LineasBase[s];
        EXPECT_EQ(imagen.pixel(0, y), Rgb(colores[s])) << s;
        EXPECT_EQ(imagen.pixel(1, y), Rgb(colores[s])) << s;
        EXPECT_EQ(imagen.pixel(2, y), Rgb(clSilver)) << s;
    }
}

TEST_F(Grafica, CadaSerieSubeConSuValorYSuColor)
{
    FGrafica->Activar(true);
    FGrafica->AnadirMuestra({0, 0, 0, 0, 0, 0});
    FGrafica->AnadirMuestra({3, 5, 7, 9, 10, 2});
    FGrafica->AnadirMuestra({0, 0, 0, 0, 0, 0});
    const QImage imagen = Pintar();
    const std::array<TColor, 6> colores {clBlack, clBlue, clRed, clGreen, clFuchsia, clTeal};
    const std::array<int, 6> valores {3, 5, 7, 9, 10, 2};
    for (int s = 0; s < 6; ++s) {
        const int y = TGrafica::LineasBase[s];
        EXPECT_EQ(imagen.pixel(2, y - valores[s]), Rgb(colores[s])) << s;
        EXPECT_NE(imagen.pixel(2, y - valores[s] - 1), Rgb(colores[s])) << s;
        EXPECT_EQ(imagen.pixel(3, y), Rgb(colores[s])) << s;
        EXPECT_EQ(imagen.pixel(4, y), Rgb(clSilver)) << s;
    }
}

TEST_F(Grafica, LosValoresAltosLosRecortaLaCajaYLaSerieSiguienteVaEncima)
{
    FGrafica->Activar(true);
    FGrafica->AnadirMuestra({20, 40, 0, 0, 0, 0});
    FGrafica->AnadirMuestra({0, 65535, 0, 0, 0, 0});
    EXPECT_EQ(FGrafica->Muestra(1, 2), 65535);
    const QImage imagen = Pintar();
    // Series 1 reaches the top edge and crosses the start of series 0 on its
    // way, drawn over it.
    EXPECT_EQ(imagen.pixel(1, 0), Rgb(clBlue));
    EXPECT_EQ(imagen.pixel(0, 20), Rgb(clBlue));
}

TEST_F(Grafica, UnaGraficaLlenaSeDibujaHastaLaUltimaColumna)
{
    FGrafica->Activar(true);
    for (int k = 0; k < 747; ++k)
        FGrafica->AnadirMuestra({5, 0, 0, 0, 0, 0});
    const QImage imagen = Pintar();
    EXPECT_EQ(imagen.pixel(746, 15), Rgb(clBlack));
    EXPECT_EQ(imagen.pixel(747, 15), Rgb(clBlack));
    EXPECT_EQ(imagen.pixel(747, 20), Rgb(clSilver));
}

// The chart joins its samples with fewer segments where a trace is flat: the
// pixels must be those of a polyline through every sample.
TEST_F(Grafica, LasSeriesPintanLosMismosPixelesQueUnaLineaPorCadaMuestra)
{
    FGrafica->Activar(true);
    const QImage fondo = Pintar();

    std::mt19937 azar(1234);
    const std::uint16_t valores[] = {0, 0, 0, 3, 5, 10, 10, 20};
    TMuestraGrafica muestra {};
    for (int k = 0; k < 700; ++k) {
        for (int s = 0; s < NumSeriesGrafica; ++s)
            if (azar() % 6 == 0) // runs of a few samples, then a step
                muestra[s] = valores[azar() % std::size(valores)];
        FGrafica->AnadirMuestra(muestra);
    }
    const QImage pintada = Pintar();

    QImage esperada = fondo;
    QPainter lienzo(&esperada);
    const TColor colores[] = {clBlack, clBlue, clRed, clGreen, clFuchsia, clTeal};
    for (int s = 0; s < NumSeriesGrafica; ++s) {
        const int base = 20 * (s + 1);
        QPolygonF linea {QPointF(0, base)};
        for (int x = 0; x <= FGrafica->NumMuestras(); ++x)
            linea << QPointF(x, base - FGrafica->Muestra(s, x));
        QPen pluma(AColorQt(colores[s]), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
        pluma.setCosmetic(true);
        lienzo.setPen(pluma);
        lienzo.drawPolyline(linea);
    }
    lienzo.end();
    EXPECT_EQ(pintada, esperada);
}

// What the platform shows is a fresh paint of the chart, although each sample
// paints only a few columns: after samples, scrolls, resizes, hiding and
// showing, emptying and the idle look. The fresh paint is made where the
// screen's is, in the window: Qt places the pixels of a steep line that
// leaves the box by where the device ends, so a grab() of the box alone can
// differ by a pixel from any paint in the window, whole or partial.
class GraficaEnPantalla : public Grafica {
protected:
    void SetUp() override
    {
        Grafica::SetUp();
        FVentana.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&FVentana));
    }

    // The box's pixels in the window's backing store.
    QImage EnPantalla() const { return CapturaEnPantalla(FVentana, *FCaja); }

    void Comprobar(const char* paso) const
    {
        const QImage pantalla = EnPantalla();
        ASSERT_FALSE(pantalla.isNull()) << paso;
        FCaja->repaint();
        EXPECT_TRUE(pantalla == EnPantalla()) << "the screen differs from a fresh paint after: " << paso;
    }

    // Steps, flat runs and values far past the top edge; some samples are
    // painted one by one, some together.
    void Anadir(int cuantas)
    {
        static constexpr std::uint16_t Valores[] = {0, 0, 1, 3, 10, 19, 20, 21, 300, 65535};
        for (int k = 0; k < cuantas; ++k) {
            for (int s = 0; s < NumSeriesGrafica; ++s)
                if (FAzar() % 4 == 0)
                    FMuestra[s] = Valores[FAzar() % std::size(Valores)];
            FGrafica->AnadirMuestra(FMuestra);
            if (FAzar() % 3 != 0)
                QCoreApplication::processEvents();
        }
    }

    std::mt19937 FAzar {77};
    TMuestraGrafica FMuestra {};
};

TEST_F(GraficaEnPantalla, LoQueSeVeEsUnPintadoFresco)
{
    FGrafica->Activar(true);
    Anadir(1);
    Comprobar("the first sample");
    Anadir(300);
    Comprobar("300 samples");
    Anadir(747 - 301);
    Comprobar("a full chart");
    Anadir(1);
    Comprobar("the first scroll");
    Anadir(130);
    Comprobar("several scrolls");
    FCaja->resize(700, 120);
    Anadir(40);
    Comprobar("a smaller box");
    FCaja->resize(760, 130);
    Anadir(40);
    Comprobar("a larger box");
    ASSERT_TRUE(OcultarVentana(FVentana));
    Anadir(60);
    FVentana.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&FVentana));
    Anadir(5);
    Comprobar("samples while hidden");
    FGrafica->Borrar();
    Anadir(3);
    Comprobar("emptied");
    // The window repaints the box when it changes its colour for the idle look.
    FGrafica->Activar(false);
    FCaja->update();
    Anadir(3);
    Comprobar("idle");
}

// Inside the box the pixels do not depend on the device: the screen is also
// what a grab() of the box alone paints.
TEST_F(GraficaEnPantalla, DentroDeLaCajaEsLoQuePintaLaCajaSola)
{
    FGrafica->Activar(true);
    std::mt19937 azar(5);
    TMuestraGrafica muestra {};
    for (int k = 0; k < 900; ++k) {
        for (int s = 0; s < NumSeriesGrafica; ++s)
            if (azar() % 4 == 0)
                muestra[s] = std::uint16_t(azar() % (TGrafica::LineasBase[s] + 1));
        FGrafica->AnadirMuestra(muestra);
        if (k % 7 != 0)
            QCoreApplication::processEvents();
    }
    EXPECT_TRUE(EnPantalla() == FCaja->grab().toImage().convertToFormat(QImage::Format_RGB32));
}

TEST_F(Grafica, LaCajaPintaConLaGraficaYNoDespuesDeDestruirla)
{
    FGrafica->Activar(true);
    FGrafica->AnadirMuestra({10, 0, 0, 0, 0, 0});
    const QImage captura = FCaja->grab().toImage();
    EXPECT_EQ(captura.pixel(1, 10), Rgb(clBlack));
    EXPECT_EQ(captura.pixel(5, 5), Rgb(clWindow, FCaja->palette()));

    FGrafica.reset();
    FVentana.show();
    QCoreApplication::processEvents();
    FCaja->repaint(); // must not reach the destroyed chart
    SUCCEED();
}

} // namespace
