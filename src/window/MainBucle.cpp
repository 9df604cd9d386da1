// The control loop: one whole connection to the headset engine, run inside
// the handler of "Conectar" until "Desconectar". Each pass reads one engine
// event, updates the window and the drive decision, sends the command to the
// vehicle, serves the operator's pending requests and pumps the window's
// messages, in which every other handler runs and talks to the loop through
// the window's flags.
#include "Main.h"

#include "Actuador.h"
#include "CodigoPagina.h"
#include "ConexionCasco.h"
#include "ConexionEmulador.h"
#include "EstadoConduccion.h"
#include "Grafica.h"
#include "RadioGroup.h"
#include "ui_Main.h"

#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QSocketNotifier>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace {

constexpr int IntervaloVigilancia = 100; // ms

// The outputs of a state that is no longer current: it is shown as detected,
// but forward and backward do not reach the vehicle.
TSalidasConduccion SinAvanceNiRetroceso(TSalidasConduccion salidas)
{
    salidas.AvRetActivo = false;
    salidas.DireccionEnviada = dirNinguna;
    return salidas;
}

// How to get an emulator to answer at that address: started on this
// computer, or on another one listening to the network. Two lines, so that
// each fits the log's width.
QStringList TextoSinEmulador(const QString& direccion, const QString& puerto)
{
    const QString opcionPuerto = puerto == QLatin1String("1726") ? QString() : QStringLiteral(" --puerto ") + puerto;
    if (direccion.startsWith(QLatin1String("127.")))
        return {QStringLiteral("Si el emulador no está en marcha en este equipo, arránquelo"),
                QStringLiteral("con «gedanko-emulador") + opcionPuerto + QStringLiteral("» y pulse Conectar de nuevo")};
    return {QStringLiteral("Si el emulador no está en marcha en ") + direccion + QStringLiteral(", arránquelo"),
            QStringLiteral("allí con «gedanko-emulador --direccion 0.0.0.0") + opcionPuerto + QStringLiteral("»")};
}

} // namespace

// What lives for one run of the loop.
struct TFMain::TEjecucion {
    bool EsEmulador = false;
    QString TextoConectado;
    QString TextoFallo;
    // What to do when nothing answered at the address: empty for the headset.
    QStringList TextoSinRespuesta;
    TEstadoConduccion Conduccion;
    // The state line of a full reading, logged once the command has gone out.
    bool LineaEstadoPendiente = false;
    // Ends an idle pass's wait for window messages. One timer serves the
    // whole run: making one on every pass cost measurably more processor.
    QTimer LimiteEspera;
    // Ends it as soon as the engine may have an event, when the engine
    // offers a descriptor for that; else the timer ticks every millisecond.
    std::unique_ptr<QSocketNotifier> Despertador;
};

void TFMain::ActionConectarExecute()
{
    // Registrar pumps messages before the run hides "Conectar": a second
    // click there must not start a run inside this one.
    if (FEnEjecucion)
        return;
    FEnEjecucion = true;
    // A mode switch dispatched while connecting would leave a run that the
    // window can no longer stop: the mode actions rest until the run ends.
    FModosBloqueados = true;
    ui->ActionManual->setEnabled(false);
    ui->ActionCasco->setEnabled(false);

    TEjecucion ejecucion;
    FEjecucion = &ejecucion;
    if (IniciarEjecucion(ejecucion)) {
        FFrescura.IniciarEjecucion(FDependencias.Reloj());
        ejecucion.LimiteEspera.setTimerType(Qt::PreciseTimer);
        ejecucion.LimiteEspera.start(EsperaActiva);
        PrepararDespertador(ejecucion);
        // The loop stands still while a modal dialog opened from one of its
        // pumps is up; this timer still fires there and stops the drive.
        QTimer vigilancia;
        vigilancia.setInterval(IntervaloVigilancia);
        connect(&vigilancia, &QTimer::timeout, this, [this, &ejecucion] { DetenerSiSilencio(ejecucion); });
        vigilancia.start();
        while (FConectado && FContinuar)
            Pasada(ejecucion);
    }
    TerminarEjecucion(ejecucion);
    FEjecucion = nullptr;

    FEnEjecucion = false;
    // The session ended during the run: the window closes once it is over.
    if (FTerminar)
        QTimer::singleShot(0, this, [this] { close(); });
}

// Creates the connection and connects; true when connected.
bool TFMain::IniciarEjecucion(TEjecucion& ejecucion)
{
    FContinuar = true;
    FPerfilCargado = false;
    FPerfilPendiente = false;
    FCentrarPendiente = false;
    ejecucion.Conduccion.Iniciar();

    if (ui->RadioGroupMotor->IndiceElemento() == ItemEmoEngine) {
        FConexion = std::make_unique<TConexionCasco>();
        ejecucion.TextoConectado = QStringLiteral("Conectado al Engine Emotiv");
        ejecucion.TextoFallo = QStringLiteral("Fallo iniciando el Engine Emotiv");
        ejecucion.EsEmulador = false;
    } else {
        const QString direccion = ui->EditIp1->text() + QLatin1Char('.') + ui->EditIp2->text() + QLatin1Char('.')
                                  + ui->EditIp3->text() + QLatin1Char('.') + ui->EditIp4->text();
        const QString puerto = ui->EditPuerto->text();
        // The port edit is kept at 1..65535; anything else reaches the engine
        // as port 0, which it refuses.
        bool valido = false;
        const unsigned numero = puerto.toUInt(&valido);
        const auto puertoNumerico = static_cast<std::uint16_t>(valido && numero <= 65535 ? numero : 0);
        FConexion = std::make_unique<TConexionEmulador>(ACodigoPagina(direccion).constData(), puertoNumerico);
        const QString servidor = direccion + QLatin1Char(':') + puerto;
        ejecucion.TextoConectado = QStringLiteral("Conectado con EmoComposer en ") + servidor;
        ejecucion.TextoFallo = QStringLiteral("No se puede conectar con EmoComposer en ") + servidor;
        ejecucion.TextoSinRespuesta = TextoSinEmulador(direccion, puerto);
        ejecucion.EsEmulador = true;
    }

    if (FConexion->Conectar()) {
        Registrar(nrInformacion, ejecucion.TextoConectado);
        FConectado = true;
        if (FConexion->ActivarOptimizacion()) {
            Registrar(nrInformacion, QStringLiteral("Optimización activada"));
            Registrar(nrInformacion, FConexion->TextoOptimizacion());
        } else {
            Registrar(nrError, QStringLiteral("No se ha podido activar la optimización"));
            Registrar(nrError, FConexion->TextoError());
        }
    } else {
        Registrar(nrError, ejecucion.TextoFallo);
        Registrar(nrError, FConexion->TextoError());
        if (FConexion->Resultado() == EDK_CONEXION_REMOTA_IMPOSIBLE)
            for (const QString& linea : ejecucion.TextoSinRespuesta)
                Registrar(nrInformacion, linea);
    }
    ActualizarVentana();
    MostrarTiempo(0);
    return FConectado;
}

// One poll of the engine and one pump of the window's messages.
void TFMain::Pasada(TEjecucion& ejecucion)
{
    FFrescura.Paso(FDependencias.Reloj());
    const bool leido = FConexion->LeerEvento();
    if (leido)
        AtenderEvento(ejecucion);
    else
        AtenderSinEvento(ejecucion);
    if (FPerfilPendiente)
        CargarPerfilPendiente();
    if (leido)
        QCoreApplication::processEvents();
    else
        EsperarMensajes(ejecucion);
}

void TFMain::AtenderEvento(TEjecucion& ejecucion)
{
    FFrescura.EventoLeido(FDependencias.Reloj());
    MostrarTiempo(FConexion->Tiempo());
    if (FConexion->LeerEstado()) {
        AtenderEstado(ejecucion);
    } else if (FConexion->UsuarioAnadido()) {
        MostrarTiempo(0);
        MostrarEstado(ecConectado);
        Registrar(nrInformacion, QStringLiteral("Dispositivo detectado"));
    } else if (FConexion->UsuarioEliminado()) {
        MostrarTiempo(0);
        MostrarEstado(ecSinCasco);
        MostrarSensores();
        // Without a headset nothing may keep the vehicle going: the drive
        // direction is dropped, a latched turn stays.
        ejecucion.Conduccion.Rechazar();
        Registrar(nrInformacion, QStringLiteral("Dispositivo no detectado"));
    } else {
        Registrar(nrEstado, FConexion->TextoEvento());
    }
    // A dialog opened from a pump above may have held this event a while.
    FFrescura.Paso(FDependencias.Reloj());
    EnviarSalidas(ejecucion);
    // Logging repaints the window: the vehicle gets its command first.
    if (ejecucion.LineaEstadoPendiente) {
        ejecucion.LineaEstadoPendiente = false;
        Registrar(nrEstado, FConexion->TextoEstado());
    }
}

void TFMain::AtenderEstado(TEjecucion& ejecucion)
{
    if (FCentrarPendiente)
        CentrarGiroscopio(ejecucion);
    int nivel = 0;
    int maximo = 0;
    FConexion->NivelBateria(nivel, maximo);
    MostrarBateria(nivel, maximo);
    const TNivelSenal senal = FConexion->NivelSenal();
    MostrarSenal(senal);

    TEstadoConduccion& conduccion = ejecucion.Conduccion;
    if (!FPerfilCargado && !ejecucion.EsEmulador) {
        conduccion.Rechazar();
        MostrarEstado(ecSinPerfil);
        return;
    }
    if (senal != nsBuena) {
        conduccion.Rechazar();
        MostrarEstado(ecNoEnlazado);
        return;
    }
    std::array<int, NumElectrodos> contactos {};
    bool utilizables = false;
    FConexion->CalidadContacto(contactos, utilizables);
    MostrarSensores(&contactos);
    if (!utilizables) {
        conduccion.Rechazar();
        MostrarEstado(ecSenalRuidosa);
        return;
    }
    MostrarEstado(ecConectado);
    // The thresholds are read from the bars at every reading, so that a
    // change takes effect at once. A state read while the loop catches up
    // after a pause is shown, but turns nothing.
    const auto umbralAvRet = static_cast<unsigned>(ui->TrackBarUmbralAvRet->value());
    if (FFrescura.AlDia())
        conduccion.LecturaCompleta(FConexion->LeerLectura(), umbralAvRet,
                                   static_cast<unsigned>(ui->TrackBarUmbralGiro->value()));
    else
        conduccion.LecturaAtrasada(FConexion->LeerLectura(), umbralAvRet);
    MostrarFuerza(static_cast<std::uint16_t>(conduccion.Potencia));
    MostrarGiro(static_cast<std::int16_t>(conduccion.MagnitudGiro));
    ejecucion.LineaEstadoPendiente = ui->ActionEstados->isChecked();
}

// A poll that read nothing: a lost link or a silent engine stops the drive.
void TFMain::AtenderSinEvento(TEjecucion& ejecucion)
{
    if (FConexion->Resultado() != EDK_SIN_EVENTOS) {
        // What the link brings back once it returns is old news.
        if (!FFrescura.PerderEnlace())
            return;
        EnviarOrden();
        ejecucion.Conduccion.Rechazar();
        MostrarFlechas(dirNinguna, giroNinguno, false, false);
        MostrarEnlacePerdido();
        Registrar(nrError, FConexion->TextoError());
        return;
    }
    // The queue is empty: the next state read is current.
    FFrescura.ColaVacia();
    DetenerSiSilencio(ejecucion);
}

// Without any engine event for a while, forward and backward stop; a latched
// turn stays.
void TFMain::DetenerSiSilencio(TEjecucion& ejecucion)
{
    if (!FFrescura.Silencio(FDependencias.Reloj()))
        return;
    ejecucion.Conduccion.Rechazar();
    const TSalidasConduccion salidas = ejecucion.Conduccion.Salidas();
    // The watchdog may already have dropped it.
    if (FFrescura.Vigente(FDependencias.Reloj()) != FOrdenEscrita)
        EnviarOrden();
    MostrarFlechas(salidas.Direccion, salidas.GiroMostrado, salidas.AvRetActivo, salidas.GiroFijado);
    Registrar(nrError, QStringLiteral("Sin datos del casco: avance y retroceso detenidos"));
}

// The drive decision's outputs after every event read.
void TFMain::EnviarSalidas(TEjecucion& ejecucion)
{
    TSalidasConduccion salidas = ejecucion.Conduccion.Salidas();
    if (!FFrescura.AlDia())
        salidas = SinAvanceNiRetroceso(salidas);
    FFrescura.Decidir(salidas.DireccionEnviada, salidas.GiroEnviado);
    // Repainting the arrows paints every pending change of the window: the
    // vehicle gets its command first.
    EnviarOrden();
    MostrarFlechas(salidas.Direccion, salidas.GiroMostrado, salidas.AvRetActivo, salidas.GiroFijado);
    if (FGrafica)
        FGrafica->AnadirMuestra(salidas.Muestra);
}

// The operator asked for a gyro re-zero: the panel asks them to keep still
// while the engine takes the new centre.
void TFMain::CentrarGiroscopio(TEjecucion& ejecucion)
{
    FCentrarPendiente = false;
    // The waits hold the loop: forward and backward stop before them, a
    // latched turn stays.
    const TSalidasConduccion salidas = SinAvanceNiRetroceso(ejecucion.Conduccion.Salidas());
    FFrescura.Detener();
    EnviarOrden();
    MostrarFlechas(salidas.Direccion, salidas.GiroMostrado, salidas.AvRetActivo, salidas.GiroFijado);
    ui->PanelCalibrandoAcelerometros->show();
    QCoreApplication::processEvents();
    EsperarLatiendo(EsperaCentrado);
    if (!FConexion->CentrarGiroscopio())
        Registrar(nrError, FConexion->TextoError());
    EsperarLatiendo(EsperaCentrado);
    // The waits are the operator's doing, not a silent engine; the states
    // that queued during them, and the one in hand, are out of date.
    FFrescura.EventoLeido(FDependencias.Reloj());
    FFrescura.Paso(FDependencias.Reloj());
    ui->PanelCalibrandoAcelerometros->hide();
    QCoreApplication::processEvents();
}

// An emergency stop during a run also releases the headset's latched turn.
void TFMain::SoltarGiroDecidido()
{
    if (FEjecucion)
        FEjecucion->Conduccion.SoltarGiro();
}

// A plain wait that pumps nothing, in heartbeat slices: a frame receiver
// keeps getting the stop command (and a latched turn) instead of timing out
// and getting the turn back on its own afterwards.
void TFMain::EsperarLatiendo(int milisegundos)
{
    while (milisegundos > 0) {
        const int tramo = std::min(milisegundos, TActuador::IntervaloLatido());
        FDependencias.Espera(tramo);
        milisegundos -= tramo;
        if (FActuador)
            FActuador->Repetir();
    }
}

void TFMain::CargarPerfilPendiente()
{
    FPerfilPendiente = false;
    const QString fichero = FFicheroPerfil;
    if (FConexion->CargarPerfil(ANombreFichero(fichero).constData())) {
        FPerfilCargado = true;
        Registrar(nrInformacion, FConexion->TextoPerfil());
        MostrarEntrenamiento(fichero, FConexion->NivelEntrenamiento());
        // Each handler runs once, also when the position does not change.
        {
            const QSignalBlocker bloqueo(ui->TrackBarAvance);
            ui->TrackBarAvance->setValue(FConexion->SensibilidadAvance());
        }
        TrackBarAvanceChange();
        {
            const QSignalBlocker bloqueo(ui->TrackBarRetroceso);
            ui->TrackBarRetroceso->setValue(FConexion->SensibilidadRetroceso());
        }
        TrackBarRetrocesoChange();
    } else {
        FPerfilCargado = false;
        FFicheroPerfil.clear();
        Registrar(nrError, QStringLiteral("Error cargando el perfil desde ") + fichero);
        Registrar(nrError, FConexion->TextoError());
        MostrarEntrenamiento(QString(), 0);
    }
    HabilitarPerfil(FConectado);
    ui->ActionCargaPerfil->setEnabled(true);
}

void TFMain::TerminarEjecucion(TEjecucion& ejecucion)
{
    ejecucion.LimiteEspera.stop();
    ejecucion.Despertador.reset();
    FFrescura.TerminarEjecucion();
    EnviarOrden();
    if (FConectado) {
        if (FConexion->Desconectar()) {
            Registrar(nrInformacion, QStringLiteral("Desconectado"));
        } else {
            Registrar(nrError, QStringLiteral("Error desconectando"));
            Registrar(nrError, FConexion->TextoError());
        }
    }
    FConexion.reset();
    FConectado = false;
    FPerfilCargado = false;
    FModosBloqueados = false;
    ActualizarVentana();
}

// The engine's wake-up descriptor, when it offers one. The notifier switches
// itself off when it fires inside a modal dialog and the wait turns it on
// again: it stays readable until the loop reads the event, and a dialog that
// holds the loop must not be woken over and over meanwhile.
void TFMain::PrepararDespertador(TEjecucion& ejecucion)
{
    const int descriptor = TConexion::DescriptorEventos();
    if (descriptor < 0)
        return;
    ejecucion.Despertador = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
    QSocketNotifier* despertador = ejecucion.Despertador.get();
    // Outside a dialog it stays on: switching it costs the message loop two
    // wake-ups of its own for every event. A dialog runs a message loop of
    // its own inside the run's.
    const int nivelEjecucion = QThread::currentThread()->loopLevel();
    connect(despertador, &QSocketNotifier::activated, despertador, [despertador, nivelEjecucion] {
        if (QThread::currentThread()->loopLevel() > nivelEjecucion)
            despertador->setEnabled(false);
    });
    ejecucion.LimiteEspera.start(EsperaConDespertador);
}

// A pass that read nothing lets the processor rest until a window message
// arrives, the engine's descriptor turns readable or the run's timer ticks.
// Without the descriptor the tick comes every millisecond while the engine
// delivers; after a quiet spell it comes less often, since each wake-up costs
// the processor more than the next event could lose by waiting.
void TFMain::EsperarMensajes(TEjecucion& ejecucion)
{
    if (ejecucion.Despertador) {
        ejecucion.Despertador->setEnabled(true);
        // Counted from this wait: a streaming engine always comes first, and
        // the timer only fires after a quiet 50 ms.
        ejecucion.LimiteEspera.start(EsperaConDespertador);
    } else {
        const int espera = FDependencias.Reloj() - FFrescura.UltimoEvento() < ReposoTras ? EsperaActiva : EsperaReposo;
        if (ejecucion.LimiteEspera.interval() != espera)
            ejecucion.LimiteEspera.start(espera);
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
