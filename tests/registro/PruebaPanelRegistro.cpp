// The log pane on its own: scrolling to the newest line, the operator's
// selection and copy, and painting only what is in view.
#include "PanelRegistro.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

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
        const int x = 2 + metricas.horizontalAdvance(FPanel.Linea(linea).left(columna))
                      - FPanel.horizontalScrollBar()->value() + 1;
        const int y = 2 + (linea - FPanel.PrimeraLineaVisible()) * FPanel.AltoLinea() + FPanel.AltoLinea() / 2;
        return {x, y};
    }

    TPanelRegistro FPanel;
};

TEST_F(PanelRegistro, UnaEntradaNuevaVuelveAVerseTrasSubirElOperador)
{
    for (int i = 0; i < 200; ++i)
        FPanel.Anadir(0, QStringLiteral("línea %1").arg(i));
    QScrollBar* barra = FPanel.verticalScrollBar();
    ASSERT_GT(barra->maximum(), 0);
    EXPECT_EQ(barra->value(), barra->maximum());

    barra->setValue(0);
    FPanel.Anadir(2, QStringLiteral("primera\nsegunda\ntercera\núltima"));
    EXPECT_EQ(barra->value(), barra->maximum());
    // The last line is the bottom one in view.
    const int enVista = (FPanel.viewport()->height() - 4) / FPanel.AltoLinea();
    EXPECT_EQ(FPanel.PrimeraLineaVisible() + enVista - 1, FPanel.NumLineas() - 1);
    EXPECT_EQ(FPanel.Linea(FPanel.NumLineas() - 1), QStringLiteral("última"));
}

TEST_F(PanelRegistro, LaBarraHorizontalAlcanzaLaLineaMasLarga)
{
    FPanel.Anadir(0, QStringLiteral("corta"));
    EXPECT_EQ(FPanel.horizontalScrollBar()->maximum(), 0);
    const QString larga(300, QLatin1Char('x'));
    FPanel.Anadir(1, larga);
    FPanel.Anadir(0, QStringLiteral("corta otra vez"));
    const int ancho = FPanel.fontMetrics().horizontalAdvance(larga) + 4;
    EXPECT_EQ(FPanel.horizontalScrollBar()->maximum(), ancho - FPanel.viewport()->width());
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

} // namespace
