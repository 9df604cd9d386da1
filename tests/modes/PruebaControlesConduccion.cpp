// Tuning and connection controls: threshold marks and hints, address and
// port checked when an edit loses the focus, sensitivities sent to the
// engine, and the profile request.
#include "DialogosPrueba.h"
#include "VentanaConduccion.h"

#include "ConexionCasco.h"
#include "MotorPrueba.h"
#include "Shape.h"

#include <QLineEdit>
#include <QSlider>
#include <gmock/gmock.h>

namespace {

using testing::Return;

class ControlesConduccion : public VentanaConduccion {
protected:
    // Headset mode with "EmoComposer" chosen: the server edits take input.
    void ElegirEmoComposer()
    {
        ui.ActionCasco->trigger();
        ui.RadioGroupMotor->FijarIndiceElemento(1);
        FVentana.RadioGroupMotorClick();
        FVentana.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&FVentana));
    }

    // The operator clicks into the edit and replaces its text by typing.
    void Escribir(QLineEdit* edit, const QString& texto)
    {
        QTest::mouseClick(edit, Qt::LeftButton);
        ASSERT_TRUE(edit->hasFocus());
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, texto);
        ASSERT_EQ(edit->text(), texto);
    }
};

TEST_F(ControlesConduccion, LosUmbralesColocanSuMarcaSobreElIndicadorYDicenSuPorcentaje)
{
    struct TCaso {
        int posicion;
        const char* hintAvRet;
        int arribaFuerza;
        const char* hintGiro;
        int izquierdaGiro;
    };
    // Positions in this order so that each is a change for the bars, which start at 5.
    const TCaso casos[] = {
        {0, "Umbral Avance/Retroceso: 0%", 168, "Umbral Giro: 0%", 173},
        {10, "Umbral Avance/Retroceso: 100%", 6, "Umbral Giro: 100%", 333},
        {5, "Umbral Avance/Retroceso: 50%", 87, "Umbral Giro: 50%", 253},
        {3, "Umbral Avance/Retroceso: 30%", 120, "Umbral Giro: 30%", 221},
    };
    const int izquierdaFuerza = ui.ShapeIndicadorFuerza->x();
    const int arribaGiro = ui.ShapeIndicadorGiro->y();
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.posicion);
        ui.TrackBarUmbralAvRet->setValue(caso.posicion);
        ui.TrackBarUmbralGiro->setValue(caso.posicion);
        EXPECT_EQ(ui.TrackBarUmbralAvRet->toolTip(), QString::fromUtf8(caso.hintAvRet));
        EXPECT_EQ(ui.ShapeIndicadorFuerza->pos(), QPoint(izquierdaFuerza, caso.arribaFuerza));
        EXPECT_EQ(ui.TrackBarUmbralGiro->toolTip(), QString::fromUtf8(caso.hintGiro));
        EXPECT_EQ(ui.ShapeIndicadorGiro->pos(), QPoint(caso.izquierdaGiro, arribaGiro));
    }
}

TEST_F(ControlesConduccion, DireccionYPuertoSeCorrigenAlPerderElFoco)
{
    ElegirEmoComposer();
    struct TCaso {
        QLineEdit* edit;
        const char* escrito;
        const char* queda;
    };
    const TCaso casos[] = {
        {ui.EditIp1, "256", "0"},
        {ui.EditIp2, "", "0"},
        {ui.EditIp3, "255", "255"},
        {ui.EditIp4, "007", "007"},
        {ui.EditIp1, "0", "0"},
        {ui.EditIp2, "999", "0"},
        {ui.EditPuerto, "0", "1726"},
        {ui.EditPuerto, "65536", "1726"},
        {ui.EditPuerto, "", "1726"},
        {ui.EditPuerto, "1", "1"},
        {ui.EditPuerto, "65535", "65535"},
        {ui.EditPuerto, "00080", "00080"},
        {ui.EditPuerto, "99999", "1726"},
    };
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(testing::Message() << caso.edit->objectName().toStdString() << " '" << caso.escrito << "'");
        Escribir(caso.edit, QString::fromUtf8(caso.escrito));
        // Confirming with Return is still typing: nothing is checked.
        QTest::keyClick(caso.edit, Qt::Key_Return);
        EXPECT_EQ(caso.edit->text(), QString::fromUtf8(caso.escrito));
        QTest::keyClick(caso.edit, Qt::Key_Tab);
        ASSERT_FALSE(caso.edit->hasFocus());
        EXPECT_EQ(caso.edit->text(), QString::fromUtf8(caso.queda));
    }
    EXPECT_EQ(Lineas(), QStringList()) << "replacements are silent";
}

TEST_F(ControlesConduccion, CambiarDeVentanaNoEsSalirDelCampo)
{
    ElegirEmoComposer();
    Escribir(ui.EditIp1, "256");
    QWidget otra;
    otra.show();
    otra.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&otra));
    EXPECT_EQ(ui.EditIp1->text(), "256");

    FVentana.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&FVentana));
    ASSERT_TRUE(ui.EditIp1->hasFocus());
    QTest::keyClick(ui.EditIp1, Qt::Key_Tab);
    EXPECT_EQ(ui.EditIp1->text(), "0");
}

TEST_F(ControlesConduccion, PulsarConectarCompruebaElCampoQueTeniaElFoco)
{
    ElegirEmoComposer();
    // The run that the click starts fails at once.
    MotorPrueba().Reiniciar();
    MotorPrueba().FijarResultado("EE_EngineRemoteConnect", 0x0502);
    Escribir(ui.EditIp4, "300");
    QTest::mouseClick(ui.BitBtnConectar, Qt::LeftButton);
    EXPECT_EQ(ui.EditIp4->text(), "0");
}

TEST_F(ControlesConduccion, LasSensibilidadesLleganAlMotorYSuRechazoSeRegistraUnaVezPorCambio)
{
    struct TCaso {
        QSlider* barra;
        const char* funcion;
        const char* hint; // before the new position
    };
    const TCaso casos[] = {
        {ui.TrackBarAvance, "EE_ExpressivSetThreshold", "Sensibilidad Avance: "},
        {ui.TrackBarRetroceso, "EE_CognitivSetActionSensitivity", "Sensibilidad Retroceso: "},
    };
    TMotorPrueba& motor = MotorPrueba();
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.funcion);
        motor.Reiniciar();
        motor.Sensibilidades = {3, 4, 5, 6};
        motor.CognitivasActivas = ACC_COG_NEUTRAL | ACC_COG_TIRAR;
        MientrasConectado(FVentana, [&] {
            FVentana.ActionLimpiarExecute();
            const QString texto = QString::fromUtf8(caso.hint);

            // The engine holds no user: one line per change, the hint follows the bar.
            motor.FijarResultado(caso.funcion, 0x0400);
            QTest::keyClick(caso.barra, Qt::Key_Left);
            const int primera = caso.barra->value();
            EXPECT_EQ(caso.barra->toolTip(), texto + QString::number(primera));
            QTest::keyClick(caso.barra, Qt::Key_Left);
            EXPECT_EQ(caso.barra->toolTip(), texto + QString::number(primera - 1));
            const QString error = QStringLiteral("1024:Identificador de usuario no válido");
            EXPECT_EQ(Lineas(), (QStringList {error, error}));

            // Accepted: the engine keeps the value and nothing is logged.
            motor.FijarResultado(caso.funcion, 0);
            caso.barra->setValue(7);
            EXPECT_EQ(caso.barra->toolTip(), texto + QStringLiteral("7"));
            EXPECT_EQ(caso.barra == ui.TrackBarAvance ? motor.Umbral : motor.Sensibilidades[0], 7);
            EXPECT_EQ(Lineas().size(), 2);
        });
    }
}

TEST_F(ControlesConduccion, SinTirarActivaLaSensibilidadDeRetrocesoSeRechazaDiciendoQueHacer)
{
    TMotorPrueba& motor = MotorPrueba();
    motor.Reiniciar();
    motor.Sensibilidades = {3, 4, 5, 6};
    motor.CognitivasActivas = ACC_COG_NEUTRAL | ACC_COG_EMPUJAR;
    MientrasConectado(FVentana, [&] {
        FVentana.ActionLimpiarExecute();

        ui.TrackBarRetroceso->setValue(8);
        EXPECT_EQ(ui.TrackBarRetroceso->toolTip(), "Sensibilidad Retroceso: 8");
        EXPECT_EQ(motor.Cuenta("EE_CognitivSetActionSensitivity"), 0);
        EXPECT_EQ(motor.Sensibilidades, (std::array<int, 4> {3, 4, 5, 6}));
        ASSERT_EQ(Lineas(), QStringList {QStringLiteral(
                                "La acción TIRAR no está activa en el perfil cargado: no se puede fijar la "
                                "sensibilidad de retroceso. Entrene la acción TIRAR y actívela en el perfil.")});
        EXPECT_EQ(ui.RichEditRegistro->Nivel(0), nrError);

        // The engine's own refusal still shows its code.
        motor.FijarResultado("EE_CognitivGetActiveActions", EDK_PERFIL_SIN_USUARIO);
        ui.TrackBarRetroceso->setValue(7);
        EXPECT_EQ(Lineas().size(), 2);
        EXPECT_EQ(Lineas().back(), QStringLiteral("0258:Perfil no asociado con un usuario"));
    });
}

TEST_F(ControlesConduccion, SinConexionLaSensibilidadSoloCambiaSuHint)
{
    MotorPrueba().Reiniciar();
    ui.TrackBarAvance->setValue(250);
    ui.TrackBarRetroceso->setValue(9);
    EXPECT_EQ(ui.TrackBarAvance->toolTip(), "Sensibilidad Avance: 250");
    EXPECT_EQ(ui.TrackBarRetroceso->toolTip(), "Sensibilidad Retroceso: 9");
    EXPECT_EQ(MotorPrueba().Llamadas(), std::vector<std::string> {});
    EXPECT_EQ(Lineas(), QStringList());
}

TEST_F(ControlesConduccion, ElPerfilElegidoQuedaPendienteYElBotonEsperaAlBucle)
{
    MotorPrueba().Reiniciar();
    MientrasConectado(FVentana, [&] {
        FVentana.ActionLimpiarExecute();
        ASSERT_TRUE(ui.SpeedButtonPerfil->isEnabled());

        EXPECT_CALL(*FDialogos, ElegirFicheroAbrir(&FVentana)).WillOnce(Return(QString()));
        QTest::mouseClick(ui.SpeedButtonPerfil, Qt::LeftButton);
        EXPECT_FALSE(FVentana.PerfilPendiente());
        EXPECT_EQ(FVentana.FicheroPerfil(), QString());
        EXPECT_TRUE(ui.SpeedButtonPerfil->isEnabled());
        testing::Mock::VerifyAndClearExpectations(FDialogos);

        EXPECT_CALL(*FDialogos, ElegirFicheroAbrir(&FVentana)).WillOnce(Return(QStringLiteral("/perfiles/ana.emu")));
        QTest::mouseClick(ui.SpeedButtonPerfil, Qt::LeftButton);
        EXPECT_TRUE(FVentana.PerfilPendiente());
        EXPECT_EQ(FVentana.FicheroPerfil(), "/perfiles/ana.emu");
        EXPECT_FALSE(ui.SpeedButtonPerfil->isEnabled());
        EXPECT_FALSE(ui.ActionCargaPerfil->isEnabled());
        // One request at a time: the disabled button opens no second dialog.
        QTest::mouseClick(ui.SpeedButtonPerfil, Qt::LeftButton);
        EXPECT_EQ(Lineas(), QStringList());
    });
}

} // namespace
