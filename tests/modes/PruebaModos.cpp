// Operating modes and window state: what each of the three states enables,
// shows and colours, the engine choice, the requests handed to the control
// loop, and switching port output on and off.
#include "VentanaConduccion.h"

#include "MotorPrueba.h"

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
    const TCaso casos[] = {
        {.nombre = "manual con EmoComposer elegido",
         .casco = false,
         .conectado = false,
         .motor = 1,
         .conectarHabilitado = false,
         .conectarVisible = true,
         .desconectarVisible = false,
         .motorHabilitado = false,
         .servidor = false,
         .estado = "Desconectado",
         .graficaActiva = false,
         .muestras = 0,
         .fondoGrafica = clSilver,
         .tiempo = "",
         .fuerza = 0},
        {.nombre = "casco con EmoEngine",
         .casco = true,
         .conectado = false,
         .motor = 0,
         .conectarHabilitado = true,
         .conectarVisible = true,
         .desconectarVisible = false,
         .motorHabilitado = true,
         .servidor = false,
         .estado = "Desconectado",
         .graficaActiva = false,
         .muestras = 0,
         .fondoGrafica = clBtnFace,
         .tiempo = "12.345",
         .fuerza = 0},
        {.nombre = "casco con EmoComposer",
         .casco = true,
         .conectado = false,
         .motor = 1,
         .conectarHabilitado = true,
         .conectarVisible = true,
         .desconectarVisible = false,
         .motorHabilitado = true,
         .servidor = true,
         .estado = "Desconectado",
         .graficaActiva = false,
         .muestras = 0,
         .fondoGrafica = clBtnFace,
         .tiempo = "12.345",
         .fuerza = 0},
        // A hidden action is disabled too.
        {.nombre = "casco conectado",
         .casco = true,
         .conectado = true,
         .motor = 1,
         .conectarHabilitado = false,
         .conectarVisible = false,
         .desconectarVisible = true,
         .motorHabilitado = false,
         .servidor = false,
         .estado = "Conectado",
         .graficaActiva = true,
         .muestras = 1,
         .fondoGrafica = clWhite,
         .tiempo = "12.345",
         .fuerza = 7},
    };
    MotorPrueba().Reiniciar();
    PulsarActuador();
    OlvidarBytes();

    // The window shows "Conectado", a time, a silver chart with one sample,
    // lit arrows and a profile; then the state is brought into line.
    const auto ensuciarYActualizar = [this] {
        FVentana.MostrarEstado(TFMain::ecConectado);
        FVentana.MostrarTiempo(12.345f);
        FVentana.MostrarEntrenamiento(QStringLiteral("/perfiles/ana.emu"), 0.5f);
        FVentana.MostrarFlechas(dirAvance, giroDerecha, true, true);
        FijarColorFondo(ui.PaintBoxGrafica, clSilver);
        FVentana.Grafica()->Activar(false);
        FVentana.Grafica()->Borrar();
        FVentana.Grafica()->AnadirMuestra({1, 2, 3, 4, 5, 6});
        FVentana.ActualizarVentana();
    };
    const auto comprobar = [this](const TCaso& caso) {
        const bool c = caso.conectado;
        EXPECT_EQ(FVentana.ModoManual(), !caso.casco);
        EXPECT_EQ(ui.ActionCasco->isChecked(), caso.casco);
        EXPECT_EQ(ui.ActionManual->isChecked(), !caso.casco);
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
    };

    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        if (caso.conectado) {
            MientrasConectado(FVentana, [&] {
                FVentana.MostrarFuerza(7);
                ensuciarYActualizar();
                comprobar(caso);
            });
            continue;
        }
        // The power gauge shows 7 only while connected: a run ends first.
        MientrasConectado(FVentana, [&] { FVentana.MostrarFuerza(7); });
        (caso.casco ? ui.ActionCasco : ui.ActionManual)->trigger();
        ui.RadioGroupMotor->FijarIndiceElemento(caso.motor);
        ensuciarYActualizar();
        comprobar(caso);
    }
    // Changing the window state never drives: the stops of leaving manual
    // mode and of the runs' ends, nothing else.
    for (const unsigned byte : Bytes())
        EXPECT_EQ(byte, 0x00u);
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
    MotorPrueba().Reiniciar();
    ui.ActionCasco->trigger();
    ui.RadioGroupMotor->FijarIndiceElemento(TFMain::ItemEmoComposer);
    bool pedido = false;
    bool comprobado = false;
    // The profile chosen while connected is loaded by the loop's next pass.
    EXPECT_CALL(*FDialogos, ElegirFicheroAbrir(&FVentana)).WillOnce(testing::Return(QStringLiteral("/p/ana.emu")));
    EjecutarConexion(FVentana, [&] {
        if (!ui.ActionDesconectar->isVisible())
            return false;
        if (!pedido) {
            pedido = true;
            ui.ActionCargaPerfil->trigger();
            return false;
        }
        if (!FVentana.PerfilCargado())
            return false;
        FVentana.HabilitarPerfil(true);
        EXPECT_EQ(ColorFondo(ui.LabelFicheroPerfil), C(clYellow));
        FVentana.HabilitarPerfil(false);
        EXPECT_EQ(ColorFondo(ui.LabelFicheroPerfil), C(clGray));
        comprobado = true;
        return true;
    });
    EXPECT_TRUE(comprobado);
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
    MotorPrueba().Reiniciar();
    MientrasConectado(FVentana, [&] {
        FVentana.ActionLimpiarExecute();
        OlvidarBytes();
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
    });
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

// A port library that cannot be loaded: output cannot be switched on and its
// button does not stay down; manual driving still shows the commands.
TEST(ModosSinActuador, LaSalidaNoSeEnciendeYSeDesmarca)
{
    TEjecutableTemporal ejecutable;
    TFMain::TDependencias dependencias = ejecutable.Dependencias();
    dependencias.LibreriaPuerto = QStringLiteral("libgedanko_no_existe.so");
    TFMain ventana(std::move(dependencias));
    ventana.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ventana));
    const TFormularioMain ui(ventana);
    TGrabacion grabacion;
    ventana.ActionLimpiarExecute();
    QTest::mouseClick(ui.ToolButtonActuador, Qt::LeftButton);
    EXPECT_FALSE(ui.ActionActuador->isChecked());
    EXPECT_FALSE(ui.ToolButtonActuador->isChecked());
    EXPECT_EQ(ui.RichEditRegistro->TextoCompleto(), QStringLiteral("Actuador Inhabilitado"));
    QTest::mousePress(ui.ImageFlechasArribaAbajo, Qt::LeftButton, {}, QPoint(17, 120));
    EXPECT_EQ(IndiceMostrado(ui.ImageFlechasArribaAbajo, ImagenFlechasArribaAbajo, NumImagenesFlechasArribaAbajo), 6);
    QTest::mouseRelease(ui.ImageFlechasArribaAbajo, Qt::LeftButton, {}, QPoint(17, 120));
    EXPECT_EQ(grabacion.Valores(), std::vector<unsigned> {});
}

} // namespace
