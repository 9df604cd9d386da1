// Operating modes and window state: the actions that switch between manual
// mode, headset mode and a connection, and ActualizarVentana, which brings
// every control into line with the current state.
#include "Main.h"

#include "Actuador.h"
#include "Colores.h"
#include "Conexion.h"
#include "Controles.h"
#include "Grafica.h"
#include "ui_Main.h"

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QSlider>

void TFMain::ActualizarVentana()
{
    // Settings common to every state.
    ui->ActionConectar->setEnabled(!FModoManual);
    ui->ActionManual->setEnabled(!FConectado && !FModosBloqueados);
    ui->ActionCasco->setEnabled(!FConectado && !FModosBloqueados);
    for (QSlider* barra : {ui->TrackBarUmbralAvRet, ui->TrackBarUmbralGiro, ui->TrackBarAvance, ui->TrackBarRetroceso})
        barra->setEnabled(FConectado);
    ui->ShapeIndicadorFuerza->setVisible(FConectado);
    ui->ShapeIndicadorGiro->setVisible(FConectado);
    HabilitarTiempo(FConectado);
    HabilitarPerfil(FConectado);
    ui->ActionCargaPerfil->setEnabled(FConectado);
    ui->ActionCentrarCasco->setEnabled(FConectado);
    MostrarEntrenamiento(QString(), 0);
    MostrarSensores();

    if (FModoManual) {
        ui->RadioGroupMotor->setEnabled(false);
        MostrarFlechas(dirNinguna, giroNinguno, false, false);
        ReiniciarIndicadores();
        HabilitarServidor(false);
        ui->ActionDesconectar->setVisible(false);
        ui->ActionConectar->setVisible(true);
        MostrarEstado(ecDesconectado);
        DetenerGrafica();
        ui->LabelTiempoConexion->clear();
    } else if (FConectado) {
        ui->RadioGroupMotor->setEnabled(false);
        MostrarFlechas(dirNinguna, giroNinguno, false, false);
        HabilitarServidor(false);
        ui->ActionDesconectar->setVisible(true);
        ui->ActionConectar->setVisible(false);
        FijarColorFondo(ui->PaintBoxGrafica, clWhite);
        if (FGrafica)
            FGrafica->Activar(true);
    } else {
        ui->RadioGroupMotor->setEnabled(true);
        MostrarFlechas(dirNinguna, giroNinguno, false, false);
        ReiniciarIndicadores();
        RadioGroupMotorClick();
        ui->ActionDesconectar->setVisible(false);
        ui->ActionConectar->setVisible(true);
        MostrarEstado(ecDesconectado);
        FijarColorFondo(ui->PaintBoxGrafica, clBtnFace);
        DetenerGrafica();
    }

    // Handlers waiting in the queue run now, also while a connection runs.
    QCoreApplication::processEvents();
}

void TFMain::ReiniciarIndicadores()
{
    MostrarSenal(nsSinEstado);
    MostrarBateria(0, 1);
    MostrarFuerza(0);
    MostrarGiro(0);
}

void TFMain::DetenerGrafica()
{
    if (!FGrafica)
        return;
    FGrafica->Activar(false);
    FGrafica->Borrar();
}

void TFMain::HabilitarServidor(bool activo)
{
    const TColor color = activo ? clWindow : clBtnFace;
    for (QLineEdit* edit : {ui->EditIp1, ui->EditIp2, ui->EditIp3, ui->EditIp4, ui->EditPuerto})
        edit->setEnabled(activo);
    FijarColorFondo(ui->EditIp1, color);
    const QColor colorIp = ColorFondo(ui->EditIp1);
    for (QLineEdit* edit : {ui->EditIp2, ui->EditIp3, ui->EditIp4})
        FijarColorFondo(edit, colorIp);
    FijarColorFondo(ui->EditPuerto, color);
}

void TFMain::HabilitarTiempo(bool activo)
{
    ui->LabelTiempoConexionEtq->setEnabled(activo);
    ui->LabelTiempoConexion->setEnabled(activo);
    FijarColorFondo(ui->LabelTiempoConexion, activo ? clWindow : clGray);
}

void TFMain::HabilitarPerfil(bool activo)
{
    ui->LabelFicheroPerfil->setEnabled(activo);
    FijarColorFondo(ui->LabelFicheroPerfil, !activo ? clGray : FPerfilCargado ? clYellow : clRed);
}

void TFMain::ActionManualExecute()
{
    if (ModosBloqueados())
        return;
    FModoManual = true;
    FFrescura.CambiarModo(true);
    ActualizarVentana();
}

// Leaving manual mode stops what the operator drove by hand: the arrows go
// dark, and neither the vehicle nor a later return to manual mode keeps a
// turn that nothing shows any more.
void TFMain::ActionCascoExecute()
{
    if (ModosBloqueados())
        return;
    const bool desdeManual = FModoManual;
    FModoManual = false;
    FFrescura.CambiarModo(false);
    if (desdeManual)
        EnviarOrden();
    ActualizarVentana();
}

// While a run is under way a mode switch does nothing; the toggles keep
// showing the current mode.
bool TFMain::ModosBloqueados()
{
    if (!FModosBloqueados && !FConectado)
        return false;
    ui->ActionManual->setChecked(FModoManual);
    ui->ActionCasco->setChecked(!FModoManual);
    return true;
}

// Runs nested inside the control loop: only asks it to stop.
void TFMain::ActionDesconectarExecute()
{
    FContinuar = false;
}

// Runs nested inside the control loop: the re-zero is served at its next EmoState.
void TFMain::ActionCentrarCascoExecute()
{
    FCentrarPendiente = true;
}

void TFMain::RadioGroupMotorClick()
{
    HabilitarServidor(ui->RadioGroupMotor->IndiceElemento() == ItemEmoComposer);
}

// The action has already flipped its check state to what the operator asks for.
void TFMain::ActionActuadorExecute()
{
    const bool pedido = ui->ActionActuador->isChecked();
    // Switching writes all off: a manual command held before it is not
    // current afterwards, and the arrows say so.
    FFrescura.CambiarSalida();
    FOrdenEscrita = {};
    FGuardia.stop();
    if (FModoManual)
        MostrarFlechas(dirNinguna, giroNinguno, false, false);
    // Until start-up has created the actuator there is no output, as with a missing library.
    if (FActuador && FActuador->Habilitar(pedido)) {
        Registrar(nrInformacion, QStringLiteral("Actuador Habilitado"));
        return;
    }
    Registrar(nrInformacion, QStringLiteral("Actuador Inhabilitado"));
    if (ui->ActionActuador->isChecked())
        ui->ActionActuador->setChecked(false);
}

void TFMain::ConectarManejadoresConduccion()
{
    connect(ui->ActionManual, &QAction::triggered, this, [this] { ActionManualExecute(); });
    connect(ui->ActionCasco, &QAction::triggered, this, [this] { ActionCascoExecute(); });
    connect(ui->ActionDesconectar, &QAction::triggered, this, [this] { ActionDesconectarExecute(); });
    connect(ui->ActionCentrarCasco, &QAction::triggered, this, [this] { ActionCentrarCascoExecute(); });
    connect(ui->ActionActuador, &QAction::triggered, this, [this] { ActionActuadorExecute(); });
    connect(ui->RadioGroupMotor, &TRadioGroup::Click, this, [this] { RadioGroupMotorClick(); });
    ConectarFlechas();
    ConectarControles();
}
