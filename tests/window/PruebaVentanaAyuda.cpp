// The help window: it shows the manual beside the main window, reads the
// file anew each time and says so when the file is missing.
#include "VentanaAyuda.h"

#include <QCoreApplication>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace {

QString Texto(const TVentanaAyuda& ventana)
{
    return ventana.Navegador()->toPlainText();
}

void EscribirHtml(const QString& ruta, const QByteArray& cuerpo)
{
    QFile fichero(ruta);
    ASSERT_TRUE(fichero.open(QIODevice::WriteOnly | QIODevice::Truncate));
    fichero.write("<html><head><meta charset=\"utf-8\"></head><body>" + cuerpo + "</body></html>");
}

// The manual the build puts beside the executable.
TEST(VentanaAyuda, MuestraElManualSinBloquearYEnSuPrimerTema)
{
    TVentanaAyuda ventana;
    const QString manual = QCoreApplication::applicationDirPath() + QStringLiteral("/gedanko.html");
    ASSERT_TRUE(ventana.Mostrar(manual));
    EXPECT_TRUE(ventana.isVisible());
    EXPECT_TRUE(ventana.isWindow());
    EXPECT_EQ(ventana.windowModality(), Qt::NonModal);
    EXPECT_EQ(ventana.windowTitle(), QStringLiteral("Ayuda de Gedanko"));
    EXPECT_TRUE(Texto(ventana).startsWith(QStringLiteral("Manual de Gedanko")))
        << Texto(ventana).left(80).toStdString();

    // After reading further down, showing it again returns to the top.
    QScrollBar* barra = ventana.Navegador()->verticalScrollBar();
    barra->setValue(barra->maximum());
    ASSERT_TRUE(ventana.Mostrar(manual));
    EXPECT_EQ(barra->value(), 0);
}

TEST(VentanaAyuda, DiceQueFaltaElFicheroYLoMuestraCuandoAparece)
{
    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath(QStringLiteral("gedanko.html"));
    TVentanaAyuda ventana;

    EXPECT_FALSE(ventana.Mostrar(ruta));
    EXPECT_TRUE(ventana.isVisible());
    EXPECT_TRUE(Texto(ventana).contains(QStringLiteral("No se encuentra el fichero de ayuda")));
    EXPECT_TRUE(Texto(ventana).contains(ruta));

    EscribirHtml(ruta, "<h1>Primera</h1>");
    EXPECT_TRUE(ventana.Mostrar(ruta));
    EXPECT_EQ(Texto(ventana).trimmed(), QStringLiteral("Primera"));

    // The same file, changed: read again, not kept from the first time.
    EscribirHtml(ruta, "<h1>Segunda</h1>");
    EXPECT_TRUE(ventana.Mostrar(ruta));
    EXPECT_EQ(Texto(ventana).trimmed(), QStringLiteral("Segunda"));

    // Gone again, then back: the window is reused throughout.
    QFile::remove(ruta);
    EXPECT_FALSE(ventana.Mostrar(ruta));
    EXPECT_TRUE(Texto(ventana).contains(QStringLiteral("No se encuentra el fichero de ayuda")));
    EscribirHtml(ruta, "<h1>Tercera</h1>");
    EXPECT_TRUE(ventana.Mostrar(ruta));
    EXPECT_EQ(Texto(ventana).trimmed(), QStringLiteral("Tercera"));
}

TEST(VentanaAyuda, LaRutaDelFicheroQueFaltaNoSeInterpretaComoHtml)
{
    TVentanaAyuda ventana;
    const QString ruta = QStringLiteral("/no/existe/<b>ayuda</b>&amp;.html");
    EXPECT_FALSE(ventana.Mostrar(ruta));
    EXPECT_TRUE(Texto(ventana).contains(ruta));
}

} // namespace
