// Operating modes and window state: what each of the three states enables,
// shows and colours, the engine choice, the requests handed to the control
// loop, and switching port output on and off.
#include "VentanaConduccion.h"

#include "Gauge.h"
#include "Grafica.h"
#include "RadioGroup.h"
#include "Shape.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

namespace {

using Modos = VentanaConduccion;

TEST_F(Modos, CadaEstadoHabilitaMuestraYColoreaSusControles)
{
    struct TCaso {
        const char* nombre;
        bool casco, conectado;
        int motor; // the engine item chosen beforehand
        bool conectarHabilitado, conectarVisible, desconectarVisible, motorHabilitado, servidor;
        const char* estado;
        bool graficaActiva;
        int muestras;
        TColor fondoGrafica;
        const char* tiempo;
        int fuerza; // what the power gauge keeps of a shown 7
    };
    // Before each state is entered the window shows "Conectado", a time, a
    // silver chart with one sample, lit arrows, a power of 7 and a profile.
    const TCaso casos[] = {
        {"manual con EmoComposer elegido", false, false, 1, false, true, false, false, false, "Desconectado", false, 0,
         clSilver, "", 0},
        {"casco con EmoEngine", true, false, 0, true, true, false, true, false, "Desconectado", false, 0, clBtnFace,
         "12.345", 0},
        {"casco con EmoComposer", true, false, 1, true, true, false, true, true, "Desconectado", false, 0, clBtnFace,
         "12.345", 0},
        // A hidden action is disabled too.
        {"casco conectado", true, true, 1, false, false, true, false, false, "Conectado", true, 1, clWhite, "12.345",
         7},
        {"casco tras la conexión", true, false, 1, true, true, false, true, true, "Desconectado", false, 0, clBtnFace,
         "12.345", 0},
    };
    PulsarActuador();
    OlvidarBytes();
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        FVentana.FijarConectadoPrueba(false);
        (caso.casco ? ui.ActionCasco : ui.ActionManual)->trigger();
        ASSERT_EQ(FVentana.ModoManual(), !caso.casco);
        EXPECT_EQ(ui.ActionCasco->isChecked(), caso.casco);
        EXPECT_EQ(ui.ActionManual->isChecked(), !caso.casco);
        ui.RadioGroupMotor->FijarIndiceElemento(caso.motor);

        FVentana.FijarConectadoPrueba(true);
        FVentana.MostrarFuerza(7);
        FVentana.MostrarEstado(3);
        FVentana.MostrarTiempo(12.345f);
        FVentana.MostrarEntrenamiento(QStringLiteral("/perfiles/ana.emu"), 0.5f);
        FVentana.MostrarFlechas(dirAvance, giroDerecha, true, true);
        FijarColorFondo(ui.PaintBoxGrafica, clSilver);
        FVentana.Grafica()->Activar(false);
        FVentana.Grafica()->Borrar();
        FVentana.Grafica()->AnadirMuestra({1, 2, 3, 4, 5, 6});
        FVentana.FijarConectadoPrueba(caso.conectado);

        FVentana.ActualizarVentana();

        const bool c = caso.conectado;
        EXPECT_EQ(ui.BitBtnConectar->isEnabled(), caso.conectarHabilitado);
        EXPECT_EQ(!ui.BitBtnConectar->isHidden(), caso.conectarVisible);
        EXPECT_EQ(!ui.BitBtnDesconectar->isHidden(), caso.desconectarVisible);
        EXPECT_EQ(ui.ToolButtonManual->isEnabled(), !c);
        EXPECT_EQ(ui.ToolButtonCasco->isEnabled(), !c);
        EXPECT_TRUE(ui.ToolButtonActuador->isEnabled());
        EXPECT_EQ(ui.RadioGroupMotor->isEnabled(), caso.motorHabilitado);
        EXPECT_EQ(ui.RadioGroupMotor->IndiceElemento(), caso.motor);
        for (QLineEdit* edit : {ui.EditIp1, ui.EditIp2, ui.EditIp3, ui.EditIp4, ui.EditPuerto}) {
            SCOPED_TRACE(edit->objectName().toStdString());
            EXPECT_EQ(edit->isEnabled(), caso.servidor);
            EXPECT_EQ(ColorFondo(edit), C(caso.servidor ? clWindow : clBtnFace));
        }
        for (QSlider* barra : {ui.TrackBarUmbralAvRet, ui.TrackBarUmbralGiro, ui.TrackBarAvance, ui.TrackBarRetroceso})
            EXPECT_EQ(barra->isEnabled(), c) << barra->objectName().toStdString();
        EXPECT_EQ(!ui.ShapeIndicadorFuerza->isHidden(), c);
        EXPECT_EQ(!ui.ShapeIndicadorGiro->isHidden(), c);
        EXPECT_EQ(ui.SpeedButtonPerfil->isEnabled(), c);
        EXPECT_EQ(ui.SpeedButtonCentrarCasco->isEnabled(), c);

        EXPECT_EQ(ui.LabelTiempoConexionEtq->isEnabled(), c);
        EXPECT_EQ(ui.LabelTiempoConexion->isEnabled(), c);
        EXPECT_EQ(ColorFondo(ui.LabelTiempoConexion), C(c ? clWindow : clGray));
        EXPECT_EQ(ui.LabelTiempoConexion->text(), QString::fromUtf8(caso.tiempo));
        EXPECT_EQ(ui.LabelFicheroPerfil->isEnabled(), c);
        EXPECT_EQ(ColorFondo(ui.LabelFicheroPerfil), C(c ? clRed : clGray)); // no profile loaded
        EXPECT_EQ(ui.LabelFicheroPerfil->text(), QString());
        EXPECT_EQ(ui.ProgressBarEntrenamiento->value(), 0);

        EXPECT_EQ(ui.LabelEstado->text(), QString::fromUtf8(caso.estado));
        EXPECT_EQ(FVentana.Grafica()->Activa(), caso.graficaActiva);
        EXPECT_EQ(FVentana.Grafica()->NumMuestras(), caso.muestras);
        EXPECT_EQ(ColorFondo(ui.PaintBoxGrafica), C(caso.fondoGrafica));
        EXPECT_EQ(IndiceAvRet(), 0);
        EXPECT_EQ(IndiceGiro(), 0);
        EXPECT_EQ(ui.CGaugeFuerza->Progreso(), caso.fuerza);
    }
    // Only leaving manual mode writes: the stop, once.
    EXPECT_EQ(Bytes(), std::vector<unsigned> {0x00}) << "changing the window state writes nothing else";
}

TEST_F(Modos, ActualizarVentanaAtiendeLosMensajesPendientesAntesDeVolver)
{
    // While connected, handlers reach the window only through such pumps.
    bool atendido = false;
    QTimer::singleShot(0, &FVentana, [&] { atendido = true; });
    FVentana.ActualizarVentana();
    EXPECT_TRUE(atendido);
}

TEST_F(Modos, LaEtiquetaDePerfilEsAmarillaConPerfilCargadoYRojaSinEl)
{
    FVentana.FijarPerfilCargadoPrueba(true);
    FVentana.HabilitarPerfil(true);
    EXPECT_EQ(ColorFondo(ui.LabelFicheroPerfil), C(clYellow));
    FVentana.HabilitarPerfil(false);
    EXPECT_EQ(ColorFondo(ui.LabelFicheroPerfil), C(clGray));
    FVentana.FijarPerfilCargadoPrueba(false);
    FVentana.HabilitarPerfil(true);
    EXPECT_EQ(ColorFondo(ui.LabelFicheroPerfil), C(clRed));
}

TEST_F(Modos, LaEleccionDelMotorHabilitaElServidorSoloConEmoComposerEnModoCasco)
{
    auto servidorHabilitado = [this] {
        for (QLineEdit* edit : {ui.EditIp1, ui.EditIp2, ui.EditIp3, ui.EditIp4, ui.EditPuerto})
            if (edit->isEnabled() != ui.EditIp1->isEnabled() || ColorFondo(edit) != ColorFondo(ui.EditIp1))
                ADD_FAILURE() << edit->objectName().toStdString() << " differs from EditIp1";
        EXPECT_EQ(ColorFondo(ui.EditIp1), C(ui.EditIp1->isEnabled() ? clWindow : clBtnFace));
        return ui.EditIp1->isEnabled();
    };
    auto elegir = [this](int indice) {
        QRadioButton* boton = ui.RadioGroupMotor->Boton(indice);
        QTest::mouseClick(boton, Qt::LeftButton, {}, QPoint(6, boton->height() / 2));
        ASSERT_EQ(ui.RadioGroupMotor->IndiceElemento(), indice);
    };

    ui.ActionCasco->trigger();
    EXPECT_FALSE(servidorHabilitado());
    elegir(1);
    EXPECT_TRUE(servidorHabilitado());
    elegir(0);
    EXPECT_FALSE(servidorHabilitado());
    elegir(1);
    // Back in manual mode the choice stays, the edits do not.
    ui.ActionManual->trigger();
    EXPECT_EQ(ui.RadioGroupMotor->IndiceElemento(), 1);
    EXPECT_FALSE(servidorHabilitado());
    ui.ActionCasco->trigger();
    EXPECT_TRUE(servidorHabilitado());
}

TEST_F(Modos, DesconectarYCentrarSoloDejanSuPeticionAlBucle)
{
    ui.ActionCasco->trigger();
    FVentana.FijarConectadoPrueba(true);
    FVentana.FijarContinuarPrueba(true);
    FVentana.ActualizarVentana();
    ASSERT_FALSE(ui.BitBtnDesconectar->isHidden());

    QTest::mouseClick(ui.SpeedButtonCentrarCasco, Qt::LeftButton);
    EXPECT_TRUE(FVentana.CentrarPendiente());
    EXPECT_TRUE(FVentana.Continuar());

    QTest::mouseClick(ui.BitBtnDesconectar, Qt::LeftButton);
    EXPECT_FALSE(FVentana.Continuar());
    // The loop ends the run and brings the window back; the handler does not.
    EXPECT_TRUE(FVentana.Conectado());
    EXPECT_FALSE(ui.BitBtnDesconectar->isHidden());
    EXPECT_EQ(Lineas(), QStringList());
    EXPECT_EQ(Bytes(), std::vector<unsigned> {});
}

TEST_F(Modos, ElActuadorEscribeLaParadaAlEncenderseYAlApagarseAunqueElVehiculoSeMueva)
{
    PulsarActuador();
    EXPECT_TRUE(ui.ActionActuador->isChecked());
    EXPECT_EQ(Bytes(), std::vector<unsigned> {0x00});
    EXPECT_EQ(Lineas(), QStringList {"Actuador Habilitado"});

    QTest::mousePress(ui.ImageFlechasArribaAbajo, Qt::LeftButton, {}, QPoint(17, 30));
    PulsarActuador(); // switched off while forward is held
    QTest::mouseRelease(ui.ImageFlechasArribaAbajo, Qt::LeftButton, {}, QPoint(17, 30));
    EXPECT_FALSE(ui.ActionActuador->isChecked());
    EXPECT_EQ(Bytes(), (std::vector<unsigned> {0x00, 0x01, 0x00}));
    EXPECT_EQ(Lineas(), (QStringList {"Actuador Habilitado", "Actuador Inhabilitado"}));
}

TEST_F(Modos, SinActuadorUtilizableLaSalidaNoSeEnciendeYSeDesmarca)
{
    struct TCaso {
        const char* nombre;
        std::unique_ptr<TActuador> actuador;
    };
    TCaso casos[] = {
        {"actuador aún no creado", nullptr},
        {"biblioteca ausente", std::make_unique<TActuador>("libgedanko_no_existe.so")},
    };
    for (TCaso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        FVentana.FijarActuadorPrueba(std::move(caso.actuador));
        FVentana.ActionLimpiarExecute();
        PulsarActuador();
        EXPECT_FALSE(ui.ActionActuador->isChecked());
        EXPECT_FALSE(ui.ToolButtonActuador->isChecked());
        EXPECT_EQ(Lineas(), QStringList {"Actuador Inhabilitado"});
        // Manual driving still shows the commands.
        QTest::mousePress(ui.ImageFlechasArribaAbajo, Qt::LeftButton, {}, QPoint(17, 120));
        EXPECT_EQ(IndiceAvRet(), 6);
        QTest::mouseRelease(ui.ImageFlechasArribaAbajo, Qt::LeftButton, {}, QPoint(17, 120));
    }
    EXPECT_EQ(Bytes(), std::vector<unsigned> {});
}

} // namespace
