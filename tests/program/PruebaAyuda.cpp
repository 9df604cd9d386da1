// The about box built afresh for each request from the version strings, and
// the help window reached by F1 and by the tool button.
#include "About.h"
#include "VentanaAyuda.h"
#include "VentanaPrograma.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

namespace {

class Ayuda : public VentanaPrograma { };

TEST_F(Ayuda, AcercaDeMuestraLosMismosTextosCadaVezYSeDestruyeAlCerrar)
{
    Crear();
    for (int vez = 0; vez < 2; ++vez) {
        SCOPED_TRACE(vez);
        QStringList textos;
        QTimer::singleShot(0, FVentana.get(), [&] {
            auto* caja = qobject_cast<TFAboutBox*>(QApplication::activeModalWidget());
            ASSERT_NE(caja, nullptr);
            for (const char* nombre : {"LabelProducto", "LabelProyecto", "LabelVersion", "LabelAutor"})
                textos << caja->findChild<QLabel*>(QString::fromLatin1(nombre))->text();
            caja->accept();
        });
        Ui().ActionAcercaDe->trigger();
        EXPECT_EQ(textos, (QStringList {QStringLiteral("Gedanko"),
                                        QStringLiteral("Gedanko: conducción de un vehículo con señales cerebrales"),
                                        QStringLiteral("Versión: 1.0.0 (1.0.0.6)"),
                                        QStringLiteral("14/09/2010 - Proyecto Gedanko")}));
        EXPECT_TRUE(FVentana->findChildren<TFAboutBox*>().isEmpty());
    }
}

TEST_F(Ayuda, F1YElBotonAbrenElManualJuntoAlPrograma)
{
    {
        QFile manual(Ruta(QStringLiteral("gedanko.html")));
        ASSERT_TRUE(manual.open(QIODevice::WriteOnly));
        manual.write("<html><body><h1>Manual de Gedanko</h1></body></html>");
    }
    Crear();
    FVentana->show();
    FVentana->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(FVentana.get()));

    QTest::keyClick(FVentana.get(), Qt::Key_F1);
    TVentanaAyuda* ayuda = FVentana->VentanaAyuda();
    ASSERT_NE(ayuda, nullptr);
    EXPECT_TRUE(ayuda->isVisible());
    EXPECT_EQ(ayuda->Navegador()->source(), QUrl::fromLocalFile(Ruta(QStringLiteral("gedanko.html"))));
    EXPECT_TRUE(ayuda->Navegador()->toPlainText().contains(QStringLiteral("Manual de Gedanko")));

    ayuda->close();
    QTest::mouseClick(Ui().ToolButtonAyuda, Qt::LeftButton);
    EXPECT_EQ(FVentana->VentanaAyuda(), ayuda);
    EXPECT_TRUE(ayuda->isVisible());
}

} // namespace
