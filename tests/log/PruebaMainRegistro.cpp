// The window's log handlers: appending pumps the window's messages, the
// switch only inverts, and saving reports each outcome in its own box.
#include "CasosGuardado.h"
#include "DialogosPrueba.h"
#include "EjecutableTemporal.h"
#include "FormularioMain.h"
#include "Main.h"

#include "PanelRegistro.h"
#include "PantallaPrueba.h"
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

using testing::_;
using testing::Return;

class MainRegistro : public testing::Test {
protected:
    void SetUp() override { FVentana.ActionLimpiarExecute(); }

    QString Pane() const { return TFormularioMain(FVentana).RichEditRegistro->TextoCompleto(); }

    // Saves the log to the file the operator chooses.
    void GuardarEn(const QString& ruta)
    {
        EXPECT_CALL(*FDialogos, ElegirFicheroGuardar(&FVentana)).WillOnce(Return(ruta));
        TFormularioMain(FVentana).ActionGuardar->trigger();
    }

    QTemporaryDir FCarpeta;
    TEjecutableTemporal FEjecutable;
    testing::StrictMock<TDialogosMock>* FDialogos = nullptr;
    TFMain FVentana {FEjecutable.DependenciasConMock(FDialogos)};
};

TEST_F(MainRegistro, RegistrarAnadeYAtiendeLosMensajesPendientesAntesDeVolver)
{
    bool atendido = false;
    QTimer::singleShot(0, &FVentana, [&] {
        atendido = true;
        // A handler run inside Registrar sees the entry complete.
        EXPECT_EQ(Pane(), QStringLiteral("Conectado"));
    });
    FVentana.Registrar(nrInformacion, QStringLiteral("Conectado"));
    EXPECT_TRUE(atendido);
    FVentana.Registrar(nrError, QStringLiteral("Error desconectando"));
    EXPECT_EQ(Pane(), QStringLiteral("Conectado\nError desconectando"));
}

TEST_F(MainRegistro, LimpiarVaciaElRegistro)
{
    FVentana.Registrar(nrEstado, QStringLiteral("uno"));
    TFormularioMain(FVentana).ActionLimpiar->trigger();
    EXPECT_EQ(Pane(), QString());
    FVentana.Registrar(nrEstado, QStringLiteral("dos"));
    EXPECT_EQ(Pane(), QStringLiteral("dos"));
}

TEST_F(MainRegistro, VisualizarEstadosSoloSeInvierte)
{
    QAction* estados = TFormularioMain(FVentana).ActionEstados;
    EXPECT_FALSE(estados->isChecked());
    FVentana.ActionEstadosExecute();
    EXPECT_TRUE(estados->isChecked());
    FVentana.ActionEstadosExecute();
    EXPECT_FALSE(estados->isChecked());
    estados->trigger();
    EXPECT_TRUE(estados->isChecked());
    estados->trigger();
    EXPECT_FALSE(estados->isChecked());
    EXPECT_EQ(Pane(), QString());
}

TEST_F(MainRegistro, GuardarEscribeElRegistroYLoDejaIgual)
{
    const QString ruta = FCarpeta.filePath(QStringLiteral("registro.txt"));
    for (const TCasoGuardado& caso : CasosGuardado()) {
        FVentana.ActionLimpiarExecute();
        for (const char* entrada : caso.Entradas)
            FVentana.Registrar(nrInformacion, QString::fromUtf8(entrada));
        const QString antes = Pane();

        EXPECT_CALL(*FDialogos, MostrarMensaje(&FVentana, QStringLiteral("El fichero se ha guardado con éxito")));
        GuardarEn(ruta);
        testing::Mock::VerifyAndClearExpectations(FDialogos);
        EXPECT_EQ(LeerFichero(ruta), caso.Bytes);
        EXPECT_EQ(Pane(), antes);
    }
}

TEST_F(MainRegistro, CancelarNoEscribeNiMuestraNada)
{
    FVentana.Registrar(nrEstado, QStringLiteral("A"));
    GuardarEn(QString());
    EXPECT_TRUE(QDir(FCarpeta.path()).isEmpty());
}

TEST_F(MainRegistro, CadaErrorSeMuestraConSuCodigo)
{
    FVentana.Registrar(nrEstado, QStringLiteral("A"));
    const QString bloqueado = FCarpeta.filePath(QStringLiteral("bloqueado.txt"));
    QFile(bloqueado).open(QIODevice::WriteOnly);
    const int otro = ::open(QFile::encodeName(bloqueado).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(otro, 0);
    ASSERT_EQ(::flock(otro, LOCK_EX | LOCK_NB), 0);

    const struct {
        QString ruta;
        QString mensaje;
    } casos[] = {
        {FCarpeta.path(), QStringLiteral("Se ha producido un error abriendo el fichero\n%1").arg(EISDIR)},
        {bloqueado, QStringLiteral("Se ha producido un error abriendo el fichero\n%1").arg(EWOULDBLOCK)},
        {QStringLiteral("/dev/full"), QStringLiteral("Se ha producido un error escribiendo en el fichero\n28")},
    };
    for (const auto& caso : casos) {
        EXPECT_CALL(*FDialogos, MostrarError(&FVentana, caso.mensaje));
        GuardarEn(caso.ruta);
        testing::Mock::VerifyAndClearExpectations(FDialogos);
    }
    ::close(otro);
    EXPECT_EQ(Pane(), QStringLiteral("A"));
}

TEST_F(MainRegistro, UnFicheroDeSoloLecturaMuestraElError13)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes read-only files";
    const QString ruta = FCarpeta.filePath(QStringLiteral("solo_lectura.txt"));
    QFile(ruta).open(QIODevice::WriteOnly);
    QFile::setPermissions(ruta, QFileDevice::ReadOwner);
    EXPECT_CALL(*FDialogos,
                MostrarError(&FVentana, QStringLiteral("Se ha producido un error abriendo el fichero\n13")));
    GuardarEn(ruta);
}

// The operator's first minutes: each press of the port button logs a line;
// once the pane is full, what the screen shows of it must stay readable,
// equal to a fresh paint of the pane.
TEST_F(MainRegistro, ElPanelLlenoSeVeComoUnPintadoFresco)
{
    FVentana.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&FVentana));
    TPanelRegistro* panel = TFormularioMain(FVentana).RichEditRegistro;
    for (int i = 0; i < 12; ++i)
        TFormularioMain(FVentana).ActionActuador->trigger();
    QApplication::processEvents();
    ASSERT_GT(panel->verticalScrollBar()->value(), 0) << "the pane never filled";
    EXPECT_TRUE(CapturaEnPantalla(FVentana, *panel) == panel->grab().toImage().convertToFormat(QImage::Format_RGB32));
}

} // namespace
