// The log pane: one coloured entry per call, each on new lines, the last
// line brought into view and the caret at the entry's start.
#include "Colores.h"
#include "RegistroEventos.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <gtest/gtest.h>
#include <vector>

namespace {

class RegistroEventos : public testing::Test {
protected:
    void SetUp() override
    {
        FPanel.setReadOnly(true);
        FPanel.setLineWrapMode(QPlainTextEdit::NoWrap);
        FPanel.resize(483, 108);
    }

    // The colour of every character of a line; an empty line gives none.
    std::vector<QColor> ColoresLinea(int linea) const
    {
        std::vector<QColor> colores;
        const QTextBlock bloque = FPanel.document()->findBlockByNumber(linea);
        for (const QTextLayout::FormatRange& tramo : bloque.textFormats())
            for (int i = 0; i < tramo.length; ++i)
                colores.push_back(tramo.format.foreground().color());
        return colores;
    }

    void EsperarColor(int linea, const QColor& color) const
    {
        const std::vector<QColor> colores = ColoresLinea(linea);
        ASSERT_EQ(int(colores.size()), FPanel.document()->findBlockByNumber(linea).length() - 1) << linea;
        for (const QColor& c : colores)
            EXPECT_EQ(c, color) << "line " << linea;
    }

    QPlainTextEdit FPanel;
    TRegistroEventos FRegistro{&FPanel};
};

TEST_F(RegistroEventos, CadaNivelTieneSuColorYNoRecoloreaLosAnteriores)
{
    const QColor textoVentana = AColorQt(clWindowText, FPanel.palette());
    const struct {
        NivelRegistro nivel;
        const char* texto;
        QColor color;
    } casos[] = {
        {nrEstado, "estado", textoVentana},
        {nrInformacion, "información", QColor(0, 0, 255)},
        {nrError, "error", QColor(255, 0, 0)},
        {nrEstado, "otro estado", textoVentana},
        {nrError, "otro error", QColor(255, 0, 0)},
    };
    for (const auto& caso : casos)
        FRegistro.Anadir(caso.nivel, QString::fromUtf8(caso.texto));

    ASSERT_EQ(FRegistro.NumLineas(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(FPanel.document()->findBlockByNumber(i).text(), QString::fromUtf8(casos[i].texto));
        EsperarColor(i, casos[i].color);
    }
}

TEST_F(RegistroEventos, LaPrimeraEntradaEmpiezaEnCeroYEsLaUnicaLinea)
{
    FRegistro.Anadir(nrInformacion, QStringLiteral("Hola"));
    EXPECT_EQ(FRegistro.NumLineas(), 1);
    EXPECT_EQ(FPanel.textCursor().position(), 0);
    EXPECT_EQ(FRegistro.Texto(), QStringLiteral("Hola\r\n"));
}

TEST_F(RegistroEventos, UnaEntradaConSaltosOcupaVariasLineasDeSuColor)
{
    FRegistro.Anadir(nrEstado, QStringLiteral("antes"));
    FRegistro.Anadir(nrError, QStringLiteral("uno\ndos\r\ntres"));
    FRegistro.Anadir(nrInformacion, QStringLiteral("después"));

    EXPECT_EQ(FRegistro.Texto(), QStringLiteral("antes\r\nuno\r\ndos\r\ntres\r\ndespués\r\n"));
    ASSERT_EQ(FRegistro.NumLineas(), 5);
    for (int linea : {1, 2, 3})
        EsperarColor(linea, QColor(255, 0, 0));
    EsperarColor(4, QColor(0, 0, 255));
}

TEST_F(RegistroEventos, UnTextoVacioAnadeUnaLineaVacia)
{
    FRegistro.Anadir(nrError, QString());
    EXPECT_EQ(FRegistro.NumLineas(), 1);
    EXPECT_EQ(FRegistro.Texto(), QStringLiteral("\r\n"));
    FRegistro.Anadir(nrError, QString());
    FRegistro.Anadir(nrEstado, QStringLiteral("A"));
    EXPECT_EQ(FRegistro.Texto(), QStringLiteral("\r\n\r\nA\r\n"));
    EXPECT_EQ(FRegistro.NumLineas(), 3);
}

TEST_F(RegistroEventos, ElCursorQuedaAlPrincipioDeLaEntradaSinSeleccion)
{
    FRegistro.Anadir(nrEstado, QStringLiteral("uno"));
    FRegistro.Anadir(nrEstado, QStringLiteral("dos\ntres"));
    EXPECT_EQ(FPanel.textCursor().position(), 4);
    EXPECT_FALSE(FPanel.textCursor().hasSelection());
    FRegistro.Anadir(nrEstado, QStringLiteral("cuatro"));
    EXPECT_EQ(FPanel.textCursor().position(), 13);
    EXPECT_FALSE(FPanel.textCursor().hasSelection());
}

TEST_F(RegistroEventos, LimpiarDejaUnRegistroNuevo)
{
    FRegistro.Anadir(nrEstado, QStringLiteral("uno"));
    FRegistro.Anadir(nrError, QString());
    FRegistro.Limpiar();
    EXPECT_EQ(FRegistro.NumLineas(), 0);
    EXPECT_EQ(FRegistro.Texto(), QString());

    FRegistro.Anadir(nrError, QStringLiteral("nuevo"));
    EXPECT_EQ(FRegistro.Texto(), QStringLiteral("nuevo\r\n"));
    EXPECT_EQ(FPanel.textCursor().position(), 0);
    EsperarColor(0, QColor(255, 0, 0));
}

TEST_F(RegistroEventos, UnPanelVaciadoPorFueraTambienEmpiezaDeNuevo)
{
    // Start-up removes the pane's design-time text before the first line.
    FPanel.setPlainText(QStringLiteral("RichEditRegistro"));
    FRegistro.Anadir(nrEstado, QString());
    FPanel.clear();
    FRegistro.Anadir(nrInformacion, QStringLiteral("Gedanko"));
    EXPECT_EQ(FRegistro.Texto(), QStringLiteral("Gedanko\r\n"));
}

TEST_F(RegistroEventos, TrasSubirElOperadorLaEntradaNuevaVuelveAVerse)
{
    FPanel.show();
    for (int i = 0; i < 200; ++i)
        FRegistro.Anadir(nrEstado, QStringLiteral("línea %1").arg(i));
    QScrollBar* barra = FPanel.verticalScrollBar();
    ASSERT_GT(barra->maximum(), 0);
    EXPECT_EQ(barra->value(), barra->maximum());

    barra->setValue(0);
    FRegistro.Anadir(nrError, QStringLiteral("primera\nsegunda\ntercera\núltima"));
    EXPECT_EQ(barra->value(), barra->maximum());
    const QPoint abajo(5, FPanel.viewport()->height() - 5);
    EXPECT_EQ(FPanel.cursorForPosition(abajo).block().text().toStdString(), "última");
}

TEST_F(RegistroEventos, SinDeshacerQueCrezcaConElRegistro)
{
    FRegistro.Anadir(nrEstado, QStringLiteral("uno"));
    FRegistro.Limpiar();
    FRegistro.Anadir(nrEstado, QStringLiteral("dos"));
    EXPECT_FALSE(FPanel.document()->isUndoAvailable());
}

} // namespace
