// The log pane on its own: following new lines from the end, the operator's
// selection and copy, and painting only what is in view, also of lines that
// the pane no longer keeps in memory.
#include "AlmacenRegistro.h"
#include "PanelRegistro.h"
#include "PantallaPrueba.h"

#include <QApplication>
#include <QClipboard>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

// More lines than the pane keeps in memory: the first ones are spilled.
int LineasVolcadas()
{
    const TAlmacenRegistro::TLimites limites;
    return int(limites.LineasPorBloque * (limites.BloquesEnMemoria + 1));
}

class PanelRegistro : public testing::Test {
protected:
    void SetUp() override
    {
        FPanel.resize(483, 108);
        FPanel.show();
    }

    // The point inside the viewport of a line's given column.
    QPoint Punto(int linea, int columna) const
    {
        const QFontMetrics metricas = FPanel.fontMetrics();
        // Column 0 needs no text: the line may be past the last one.
        const int ancho = columna > 0 ? metricas.horizontalAdvance(FPanel.Linea(linea).left(columna)) : 0;
        const int x = 2 + ancho - FPanel.horizontalScrollBar()->value() + 1;
        const int y = 2 + (linea - FPanel.PrimeraLineaVisible()) * FPanel.AltoLinea() + FPanel.AltoLinea() / 2;
        return {x, y};
    }

    TPanelRegistro FPanel;
};

// The operator reads back while state lines keep coming: the view follows
// new lines only while it shows the last one.
TEST_F(PanelRegistro, LaVistaSigueLasLineasNuevasSoloDesdeElFinal)
{
    QScrollBar* barra = FPanel.verticalScrollBar();
    const auto anadir = [&](int cuantas) {
        for (int i = 0; i < cuantas; ++i)
            FPanel.Anadir(i % 3, QStringLiteral("%1 Sen:2 Bat:4/5").arg(FPanel.NumLineas()));
    };
    anadir(200);
    ASSERT_GT(barra->maximum(), 0);
    EXPECT_EQ(barra->value(), barra->maximum());

    // Thirty wheel clicks up, as the operator does.
    QWidget* vista = FPanel.viewport();
    for (int i = 0; i < 30; ++i) {
        QWheelEvent rueda(QPointF(20, 20), vista->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(vista, &rueda);
    }
    const int leida = FPanel.PrimeraLineaVisible();
    ASSERT_LT(leida, barra->maximum() - 30);
    anadir(100);
    FPanel.Anadir(2, QStringLiteral("primera\nsegunda"));
    EXPECT_EQ(FPanel.PrimeraLineaVisible(), leida);

    // One line short of the end is not the end.
    barra->setValue(barra->maximum() - 1);
    anadir(1);
    EXPECT_EQ(barra->value(), barra->maximum() - 2);

    // Back at the end, the view follows again, also an entry of several
    // lines and after the pane has grown shorter or its font larger.
    barra->setValue(barra->maximum());
    FPanel.resize(FPanel.width(), FPanel.height() - 3 * FPanel.AltoLinea());
    QFont fuente = FPanel.font();
    fuente.setPointSize(fuente.pointSize() + 4);
    FPanel.setFont(fuente);
    FPanel.Anadir(2, QStringLiteral("tercera\núltima"));
    EXPECT_EQ(barra->value(), barra->maximum());
    const int enVista = (FPanel.viewport()->height() - 4) / FPanel.AltoLinea();
    EXPECT_EQ(FPanel.PrimeraLineaVisible() + enVista - 1, FPanel.NumLineas() - 1);
}

TEST_F(PanelRegistro, LaBarraHorizontalAlcanzaLaLineaMasLarga)
{
    FPanel.Anadir(0, QStringLiteral("corta"));
    EXPECT_EQ(FPanel.horizontalScrollBar()->maximum(), 0);
    // Trailing spaces count: the bar reaches past them.
    const QString larga = QString(300, QLatin1Char('x')) + QStringLiteral("   ");
    FPanel.Anadir(1, larga);
    FPanel.Anadir(0, QStringLiteral("corta otra vez"));
    const int ancho = FPanel.fontMetrics().horizontalAdvance(larga) + 4;
    EXPECT_EQ(FPanel.horizontalScrollBar()->maximum(), ancho - FPanel.viewport()->width());
}

// Each line in view looks like its text drawn plainly at its place, whether
// its shaped form was kept from the append, shaped again on scrolling back,
// or never kept (a line separator inside it, or a very long line); and the
// horizontal bar is as wide as plain measuring makes the longest line.
TEST_F(PanelRegistro, CadaLineaSeVeComoSuTextoDibujadoSinMas)
{
    const QString larga = QStringLiteral("muy larga ").repeated(TMaquetasRegistro::LargoMaximo / 10 + 1);
    const QStringList textos = {
        QStringLiteral("12.345 Sen:2 Bat:4/5 Acc:0001 (0.00) Exp:0100 (0.80) Gir:-3"),
        QStringLiteral("Error cargando el perfil desde /home/ópera/perfiles/demo.emu"),
        QStringLiteral("tab\taquí  espacios al final   "),
        QStringLiteral("fi fl ffi AV To Wa; árabe مرحبا"),
        QStringLiteral("antes\u2028después del separador"),
        larga,
        QString(),
    };
    const int repeticiones = 2 * TMaquetasRegistro::Capacidad / int(textos.size()) + 1;
    for (int r = 0; r < repeticiones; ++r)
        for (int t = 0; t < textos.size(); ++t)
            FPanel.Anadir(t % 3, textos[t]);

    const auto comprobarVista = [&](const char* paso) {
        SCOPED_TRACE(paso);
        QApplication::processEvents();
        const QImage vista = FPanel.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QImage esperada(vista.size(), QImage::Format_RGB32);
        esperada.fill(FPanel.viewport()->palette().color(QPalette::Base));
        {
            QPainter pintor(&esperada);
            pintor.setFont(FPanel.font());
            const int x0 = 2 - FPanel.horizontalScrollBar()->value();
            const int ultima
                = std::min(FPanel.NumLineas() - 1, FPanel.PrimeraLineaVisible() + vista.height() / FPanel.AltoLinea());
            for (int i = FPanel.PrimeraLineaVisible(); i <= ultima; ++i) {
                pintor.setPen(FPanel.ColorLinea(i));
                const int y = 2 + (i - FPanel.PrimeraLineaVisible()) * FPanel.AltoLinea();
                pintor.drawText(x0, y + FPanel.fontMetrics().ascent(), FPanel.Linea(i));
            }
        }
        EXPECT_TRUE(vista == esperada);
    };
    comprobarVista("the newest lines");
    FPanel.verticalScrollBar()->setValue(1);
    comprobarVista("scrolled back past the kept lines");
    FPanel.horizontalScrollBar()->setValue(37);
    comprobarVista("scrolled sideways");

    int ancho = 0;
    for (const QString& texto : textos)
        ancho = std::max(ancho, FPanel.fontMetrics().horizontalAdvance(texto));
    EXPECT_EQ(FPanel.horizontalScrollBar()->maximum(), ancho + 4 - FPanel.viewport()->width());
}

TEST_F(PanelRegistro, ElOperadorSeleccionaConElRatonYCopiaTextoPlano)
{
    FPanel.Anadir(0, QStringLiteral("alfa beta"));
    FPanel.Anadir(1, QStringLiteral("gamma\ndelta épsilon"));
    QWidget* vista = FPanel.viewport();

    // Drag from column 5 of the first line to column 5 of the third.
    QTest::mousePress(vista, Qt::LeftButton, Qt::NoModifier, Punto(0, 5));
    QMouseEvent mover(QEvent::MouseMove, Punto(2, 5), vista->mapToGlobal(Punto(2, 5)), Qt::NoButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(vista, &mover);
    QTest::mouseRelease(vista, Qt::LeftButton, Qt::NoModifier, Punto(2, 5));
    EXPECT_EQ(FPanel.TextoSeleccionado(), QStringLiteral("beta\ngamma\ndelta"));
    EXPECT_EQ(FPanel.LineaCursor(), 2);
    EXPECT_EQ(FPanel.ColumnaCursor(), 5);

    // Shift+click moves the end and keeps the anchor.
    QTest::mouseClick(vista, Qt::LeftButton, Qt::ShiftModifier, Punto(1, 2));
    EXPECT_EQ(FPanel.TextoSeleccionado(), QStringLiteral("beta\nga"));

    FPanel.setFocus();
    QTest::keyClick(&FPanel, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("beta\nga"));

    QTest::keyClick(&FPanel, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&FPanel, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("alfa beta\ngamma\ndelta épsilon"));

    // A plain click leaves no selection; copying then keeps the clipboard.
    QTest::mouseClick(vista, Qt::LeftButton, Qt::NoModifier, Punto(0, 1));
    EXPECT_FALSE(FPanel.HaySeleccion());
    QTest::keyClick(&FPanel, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("alfa beta\ngamma\ndelta épsilon"));
}

// Lines that arrive while the operator drags a selection, or after it, leave
// it as it was: they can copy what they read while states stream in.
TEST_F(PanelRegistro, LasLineasQueLleganNoDeshacenLaSeleccion)
{
    FPanel.Anadir(0, QStringLiteral("alfa beta"));
    FPanel.Anadir(1, QStringLiteral("gamma delta"));
    QWidget* vista = FPanel.viewport();

    QTest::mousePress(vista, Qt::LeftButton, Qt::NoModifier, Punto(0, 5));
    FPanel.Anadir(0, QStringLiteral("llega al pulsar"));
    QMouseEvent mover(QEvent::MouseMove, Punto(1, 5), vista->mapToGlobal(Punto(1, 5)), Qt::NoButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(vista, &mover);
    FPanel.Anadir(0, QStringLiteral("llega al arrastrar"));
    QTest::mouseRelease(vista, Qt::LeftButton, Qt::NoModifier, Punto(1, 5));
    FPanel.Anadir(2, QStringLiteral("llega después"));

    EXPECT_EQ(FPanel.TextoSeleccionado(), QStringLiteral("beta\ngamma"));
    FPanel.setFocus();
    QTest::keyClick(&FPanel, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("beta\ngamma"));

    // Without a selection, the caret goes to the new entry again.
    QTest::mouseClick(vista, Qt::LeftButton, Qt::NoModifier, Punto(0, 1));
    FPanel.Anadir(0, QStringLiteral("la última"));
    EXPECT_EQ(FPanel.LineaCursor(), FPanel.NumLineas() - 1);
    EXPECT_EQ(FPanel.ColumnaCursor(), 0);
}

// A line the view cuts, on the right or, scrolled sideways, on the left,
// shows its whole text as its tool tip; a line shown whole shows none.
TEST_F(PanelRegistro, UnaLineaCortadaMuestraSuTextoEnteroEnLaNota)
{
    const QString larga = QStringLiteral(
        "no existe /dev/ttyACM7: conecte la placa o corrija Destino en gedanko.ini <b>y</b> & siga  (dos blancos)");
    const QString enorme = QStringLiteral("palabra ").repeated(TMaquetasRegistro::LargoMaximo);
    FPanel.Anadir(2, larga);
    FPanel.Anadir(0, QStringLiteral("corta"));
    FPanel.Anadir(0, enorme);
    ASSERT_GT(FPanel.fontMetrics().horizontalAdvance(larga), FPanel.viewport()->width());

    // The tip's text as the operator reads it, its line breaks read as the
    // blanks they stand for; empty when none shows.
    const auto nota = [&](int linea, int x) {
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
        const QPoint punto(x, Punto(linea, 0).y());
        QHelpEvent ayuda(QEvent::ToolTip, punto, FPanel.viewport()->mapToGlobal(punto));
        QApplication::sendEvent(FPanel.viewport(), &ayuda);
        QTextDocument documento;
        documento.setHtml(QToolTip::text());
        return QToolTip::isVisible() ? documento.toPlainText().replace(QLatin1Char('\n'), QLatin1Char(' ')) : QString();
    };
    EXPECT_EQ(nota(0, 30), larga);
    EXPECT_EQ(nota(1, 30), QString());
    // A huge line is cut short in its tip.
    const QString notaEnorme = nota(2, 30);
    EXPECT_TRUE(notaEnorme.startsWith(enorme.left(100)));
    EXPECT_LT(notaEnorme.size(), enorme.size());
    // Below the last line there is no line to tell.
    EXPECT_EQ(nota(4, 30), QString());

    FPanel.horizontalScrollBar()->setValue(10);
    EXPECT_EQ(nota(1, 30), QStringLiteral("corta"));
    // The tip is a view of the line: the text saved stays as appended.
    EXPECT_EQ(FPanel.Linea(0), larga);
}

TEST_F(PanelRegistro, SeleccionarYCopiarAtraviesaLasLineasVolcadas)
{
    QStringList lineas;
    const int num = LineasVolcadas();
    for (int i = 0; i < num; ++i) {
        lineas << QStringLiteral("%1 registro, línea").arg(i);
        FPanel.Anadir(i % 3, lineas.back());
    }
    ASSERT_GT(FPanel.Almacen().BloquesVolcados(), 0u);
    QWidget* vista = FPanel.viewport();
    QScrollBar* barra = FPanel.verticalScrollBar();

    // From the second line, long spilled, to the last but one.
    barra->setValue(0);
    QTest::mouseClick(vista, Qt::LeftButton, Qt::NoModifier, Punto(1, 3));
    barra->setValue(barra->maximum());
    QTest::mouseClick(vista, Qt::LeftButton, Qt::ShiftModifier, Punto(num - 2, 4));
    QStringList seleccion = lineas.mid(1, num - 2);
    seleccion.front() = seleccion.front().mid(3);
    seleccion.back() = seleccion.back().left(4);
    FPanel.setFocus();
    QTest::keyClick(&FPanel, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QApplication::clipboard()->text() == seleccion.join(QLatin1Char('\n')));

    QTest::keyClick(&FPanel, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&FPanel, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QApplication::clipboard()->text() == lineas.join(QLatin1Char('\n')));
}

TEST_F(PanelRegistro, UnPanelVacioNoTieneSeleccionNiLineas)
{
    FPanel.SeleccionarTodo();
    EXPECT_FALSE(FPanel.HaySeleccion());
    QTest::mouseClick(FPanel.viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(30, 30));
    EXPECT_FALSE(FPanel.HaySeleccion());
    EXPECT_EQ(FPanel.TextoCompleto(), QString());
    FPanel.repaint();
}

TEST_F(PanelRegistro, UnLargoRegistroSoloPintaLasLineasVisibles)
{
    for (int i = 0; i < 100'000; ++i)
        FPanel.Anadir(i % 3, QStringLiteral("%1 0.000 estado").arg(i));
    const int enVista = (FPanel.viewport()->height() - 4) / FPanel.AltoLinea() + 1;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&FPanel));

    FPanel.ReiniciarLineasPintadas();
    FPanel.viewport()->repaint();
    EXPECT_GT(FPanel.LineasPintadas(), 0);
    EXPECT_LE(FPanel.LineasPintadas(), enVista);

    // An append when the view is at the end paints only a few lines.
    QApplication::processEvents();
    FPanel.ReiniciarLineasPintadas();
    FPanel.Anadir(0, QStringLiteral("nueva"));
    QApplication::processEvents();
    EXPECT_LE(FPanel.LineasPintadas(), 3);
}

// What the platform shows must equal a fresh paint of the pane after any mix
// of appends, scrolls and selections: the pane paints incrementally and
// scrolls pixels already shown, which a whole-widget grab() cannot reveal.
class PintadoIncremental : public testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        FPanel = new TPanelRegistro(&FVentana);
        // The pane's height in the window, or one that is a whole number of
        // lines plus the margins.
        const int alto = GetParam() > 0
                             ? GetParam()
                             : FPanel->AltoLinea() * 7 + 4 + FPanel->horizontalScrollBar()->sizeHint().height();
        FPanel->setGeometry(3, 3, 483, alto);
        FVentana.resize(500, alto + 6);
        FVentana.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&FVentana));
    }

    // The pane's pixels in the window's backing store.
    QImage EnPantalla() const { return CapturaEnPantalla(FVentana, *FPanel); }

    QImage Fresco() const { return FPanel->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    void Comprobar(const char* paso) const
    {
        const QImage pantalla = EnPantalla();
        ASSERT_FALSE(pantalla.isNull()) << paso;
        EXPECT_TRUE(pantalla == Fresco()) << "the screen differs from a fresh paint after: " << paso;
    }

    static QString Texto(int i) { return QStringLiteral("Actuador Habilitado %1 gjpqy").arg(i); }

    void Anadir(int desde, int cuantas)
    {
        for (int i = desde; i < desde + cuantas; ++i) {
            FPanel->Anadir(i % 3, Texto(i));
            QApplication::processEvents();
        }
    }

    QWidget FVentana;
    TPanelRegistro* FPanel = nullptr;
};

TEST_P(PintadoIncremental, LoQueSeVeEsUnPintadoFresco)
{
    Anadir(0, 3);
    Comprobar("three appends");
    Anadir(3, 12);
    Comprobar("appends past a full pane");

    QWidget* vista = FPanel->viewport();
    FPanel->setFocus();
    QTest::keyClick(FPanel, Qt::Key_Up);
    Comprobar("arrow up");
    QTest::keyClick(FPanel, Qt::Key_PageUp);
    Comprobar("page up");
    QWheelEvent rueda(QPointF(20, 20), vista->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(vista, &rueda);
    Comprobar("wheel down");
    QScrollBar* barra = FPanel->verticalScrollBar();
    barra->setSliderDown(true);
    barra->setSliderPosition(1);
    barra->setSliderDown(false);
    Comprobar("scroll bar dragged");

    QTest::mousePress(vista, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QMouseEvent mover(QEvent::MouseMove, QPointF(60, 40), vista->mapToGlobal(QPointF(60, 40)), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vista, &mover);
    QTest::mouseRelease(vista, Qt::LeftButton, Qt::NoModifier, QPoint(60, 40));
    ASSERT_TRUE(FPanel->HaySeleccion());
    Comprobar("a selection");
    Anadir(15, 2);
    Comprobar("appends after a selection");
    FPanel->horizontalScrollBar()->setValue(15);
    Comprobar("scrolled sideways");
    Anadir(17, 1);
    Comprobar("append while scrolled sideways");
}

// Lines read back from the spill file paint as the lines did when they were
// new: as a pane that only ever held them paints them.
TEST_P(PintadoIncremental, LasLineasVolcadasSePintanAlVolverAEllas)
{
    const int num = LineasVolcadas();
    for (int i = 0; i < num; ++i)
        FPanel->Anadir(i % 3, Texto(i));
    ASSERT_GT(FPanel->Almacen().BloquesVolcados(), 0u);
    Comprobar("a log longer than the pane keeps in memory");
    FPanel->verticalScrollBar()->setValue(0);
    Comprobar("back at the first line");
    FPanel->setFocus();
    QTest::keyClick(FPanel, Qt::Key_Down);
    Comprobar("arrow down among spilled lines");

    QWidget otra;
    auto* referencia = new TPanelRegistro(&otra);
    referencia->setGeometry(FPanel->geometry());
    otra.resize(FVentana.size());
    otra.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&otra));
    for (int i = 0; i < 20; ++i)
        referencia->Anadir(i % 3, Texto(i));
    referencia->verticalScrollBar()->setValue(1);
    EXPECT_TRUE(FPanel->viewport()->grab().toImage() == referencia->viewport()->grab().toImage());
}

// A long log moves the bars with every line, but their slider keeps its
// place for many lines: the bars are painted only when it moves, and what
// the screen shows is still a fresh paint, also after scrolling back.
TEST_P(PintadoIncremental, LasBarrasSePintanSoloCuandoCambian)
{
    struct TContador : QObject {
        int Pintados = 0;
        bool eventFilter(QObject*, QEvent* evento) override
        {
            Pintados += evento->type() == QEvent::Paint;
            return false;
        }
    } vertical, horizontal;
    FPanel->verticalScrollBar()->installEventFilter(&vertical);
    FPanel->horizontalScrollBar()->installEventFilter(&horizontal);

    const int lineas = 2000;
    Anadir(0, lineas);
    EXPECT_LT(vertical.Pintados, lineas / 5);
    EXPECT_LT(horizontal.Pintados, lineas / 5);
    Comprobar("a long log");

    QScrollBar* barra = FPanel->verticalScrollBar();
    barra->setValue(barra->maximum() / 2);
    Comprobar("scrolled half-way back");
    Anadir(lineas, 3);
    Comprobar("appends after scrolling back");
    FPanel->Anadir(1, QStringLiteral("una línea mucho más larga que las demás, que mueve la barra horizontal"));
    Comprobar("a longer line");
    ASSERT_TRUE(OcultarVentana(FVentana));
    Anadir(lineas + 3, 50);
    FVentana.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&FVentana));
    Comprobar("appends while hidden");
}

// 108: the pane in the main window; 0: a whole number of lines.
INSTANTIATE_TEST_SUITE_P(Alturas, PintadoIncremental, testing::Values(108, 0),
                         [](const testing::TestParamInfo<int>& caso) {
                             return caso.param > 0 ? "Alto" + std::to_string(caso.param) : std::string("LineasEnteras");
                         });

// Selected text is drawn in the palette's highlighted-text colour, not in its
// level's colour on the highlight.
TEST(PanelRegistroSeleccion, ElTextoSeleccionadoUsaElColorDeResaltado)
{
    TPanelRegistro panel;
    panel.resize(483, 108);
    QPalette paleta = panel.palette();
    paleta.setColor(QPalette::Highlight, QColor(0, 0, 128));
    paleta.setColor(QPalette::HighlightedText, QColor(255, 255, 0));
    panel.setPalette(paleta);
    panel.Anadir(1, QStringLiteral("WWWWWWWWWW"));
    panel.SeleccionarTodo();
    const QImage imagen = panel.viewport()->grab().toImage();
    int resaltado = 0, azul = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 80; ++x) {
            const QColor c = imagen.pixelColor(x, y);
            resaltado += c == QColor(255, 255, 0);
            azul += c == QColor(0, 0, 255);
        }
    EXPECT_GT(resaltado, 0);
    EXPECT_EQ(azul, 0);
}

} // namespace
