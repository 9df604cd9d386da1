// The log: one coloured entry per call, each on new lines, and the caret at
// the entry's start unless the operator holds a selection.
#include "ColoresQt.h"
#include "PanelRegistro.h"
#include "RegistroEventos.h"

#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

class RegistroEventos : public testing::Test {
protected:
    void SetUp() override { FPanel.resize(483, 108); }

    TPanelRegistro FPanel;
    TRegistroEventos FRegistro {&FPanel};
};

TEST_F(RegistroEventos, CadaNivelTieneSuColorYNoRecoloreaLosAnteriores)
{
    const QColor textoVentana = AColorQt(clWindowText, FPanel.palette());
    const struct {
        NivelRegistro nivel;
        const char* texto;
        QColor color;
    } casos[] = {
        {nrEstado, "estado", textoVentana},         {nrInformacion, "información", QColor(0, 0, 255)},
        {nrError, "error", QColor(255, 0, 0)},      {nrEstado, "otro estado", textoVentana},
        {nrError, "otro error", QColor(255, 0, 0)},
    };
    for (const auto& caso : casos)
        FRegistro.Anadir(caso.nivel, QString::fromUtf8(caso.texto));

    ASSERT_EQ(FRegistro.NumLineas(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(FPanel.Linea(i), QString::fromUtf8(casos[i].texto));
        EXPECT_EQ(FPanel.ColorLinea(i), casos[i].color) << i;
    }
}

TEST_F(RegistroEventos, LaPrimeraEntradaEmpiezaEnCeroYEsLaUnicaLinea)
{
    EXPECT_EQ(FRegistro.NumLineas(), 0);
    EXPECT_EQ(FRegistro.Texto(), QString());
    FRegistro.Anadir(nrInformacion, QStringLiteral("Hola"));
    EXPECT_EQ(FRegistro.NumLineas(), 1);
    EXPECT_EQ(FPanel.LineaCursor(), 0);
    EXPECT_EQ(FPanel.ColumnaCursor(), 0);
    EXPECT_EQ(FRegistro.Texto(), QStringLiteral("Hola\r\n"));
}

TEST_F(RegistroEventos, UnaEntradaConSaltosOcupaVariasLineasDeSuColor)
{
    FRegistro.Anadir(nrEstado, QStringLiteral("antes"));
    FRegistro.Anadir(nrError, QStringLiteral("uno\ndos\r\ntres\rcuatro"));
    FRegistro.Anadir(nrInformacion, QStringLiteral("después"));

    EXPECT_EQ(FRegistro.Texto(), QStringLiteral("antes\r\nuno\r\ndos\r\ntres\r\ncuatro\r\ndespués\r\n"));
    ASSERT_EQ(FRegistro.NumLineas(), 6);
    for (int linea : {1, 2, 3, 4})
        EXPECT_EQ(FPanel.ColorLinea(linea), QColor(255, 0, 0)) << linea;
    EXPECT_EQ(FPanel.ColorLinea(5), QColor(0, 0, 255));
}

TEST_F(RegistroEventos, LasLineasVaciasCuentanYConservanSuNivel)
{
    FRegistro.Anadir(nrError, QString());
    EXPECT_EQ(FRegistro.NumLineas(), 1);
    EXPECT_EQ(FRegistro.Texto(), QStringLiteral("\r\n"));
    FRegistro.Anadir(nrError, QString());
    FRegistro.Anadir(nrEstado, QStringLiteral("A"));
    FRegistro.Anadir(nrInformacion, QStringLiteral("\n\n"));
    EXPECT_EQ(FRegistro.Texto(), QStringLiteral("\r\n\r\nA\r\n\r\n\r\n\r\n"));
    EXPECT_EQ(FRegistro.NumLineas(), 6);
    EXPECT_EQ(FPanel.ColorLinea(0), QColor(255, 0, 0));
    EXPECT_EQ(FPanel.ColorLinea(5), QColor(0, 0, 255));
}

TEST_F(RegistroEventos, ElCursorQuedaAlPrincipioDeLaEntradaSinSeleccion)
{
    FRegistro.Anadir(nrEstado, QStringLiteral("uno"));
    FRegistro.Anadir(nrEstado, QStringLiteral("dos\ntres"));
    EXPECT_EQ(FPanel.LineaCursor(), 1);
    EXPECT_EQ(FPanel.ColumnaCursor(), 0);
    EXPECT_FALSE(FPanel.HaySeleccion());
    // A selection the operator made stays, and so does the caret with it.
    FPanel.SeleccionarTodo();
    ASSERT_TRUE(FPanel.HaySeleccion());
    FRegistro.Anadir(nrEstado, QStringLiteral("cuatro"));
    EXPECT_EQ(FPanel.LineaCursor(), 2);
    EXPECT_EQ(FPanel.ColumnaCursor(), 4);
    EXPECT_EQ(FPanel.TextoSeleccionado(), QStringLiteral("uno\ndos\ntres"));
}

TEST_F(RegistroEventos, LimpiarDejaUnRegistroNuevo)
{
    FRegistro.Anadir(nrEstado, QStringLiteral("uno"));
    FRegistro.Anadir(nrError, QString());
    FRegistro.Limpiar();
    EXPECT_EQ(FRegistro.NumLineas(), 0);
    EXPECT_EQ(FRegistro.Texto(), QString());
    EXPECT_EQ(FPanel.verticalScrollBar()->maximum(), 0);

    FRegistro.Anadir(nrError, QStringLiteral("nuevo"));
    EXPECT_EQ(FRegistro.Texto(), QStringLiteral("nuevo\r\n"));
    EXPECT_EQ(FPanel.LineaCursor(), 0);
    EXPECT_EQ(FPanel.ColorLinea(0), QColor(255, 0, 0));
}

} // namespace
