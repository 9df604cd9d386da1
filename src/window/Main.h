// The main window: the designed form, the window state shared by the driving
// control, the indicators and the log, and the objects the window owns.
// Handlers live in several units (Main*.cpp), one per area of behaviour.
#pragma once

#include "Dialogos.h"
#include "EscalasCasco.h"
#include "FrescuraOrden.h"
#include "Tipos.h"

#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QKeyEvent;
class QLineEdit;
class TActuador;
class TConexion;
class TFicheroIni;
class TGrafica;
class TRegistroEventos;
class TVentanaAyuda;

namespace Ui {
class TFMain;
}

// The port's start value and the replacement for an invalid port.
extern const QString PuertoPorDefecto;

class TFMain : public QWidget {
    Q_OBJECT

public:
    // What the window takes from its surroundings: the real ones by default
    // (TDependencias::Reales); tests replace what they steer.
    struct TDependencias {
        // The loop's clock in milliseconds, and the plain wait of a gyro
        // re-zero, which pumps nothing.
        std::function<std::int64_t()> Reloj;
        std::function<void(int milisegundos)> Espera;
        // The modal file dialogs and message boxes.
        std::unique_ptr<TDialogos> Dialogos;
        // The application's error box.
        std::function<void(const QString& mensaje)> ErrorAplicacion;
        // The executable whose folder holds the settings and help files.
        QString Ejecutable;
        // The port library the actuator loads (a bare name goes through the
        // system's search).
        QString LibreriaPuerto;

        static TDependencias Reales();
    };

    // The index taken by MostrarEstado.
    enum TEstadoCasco : unsigned {
        ecDesconectado = 0,
        ecSinCasco = 1,
        ecError = 2,
        ecConectado = 3,
        ecSenalRuidosa = 4,
        ecSinPerfil = 5,
        ecNoEnlazado = 6,
    };
    // The items of the engine choice.
    enum TMotorElegido : int { ItemEmoEngine = 0, ItemEmoComposer = 1 };

    // A forward or backward command is dropped after this long without any
    // engine event, so that a silent headset cannot keep the vehicle going.
    static constexpr std::int64_t SilencioMaximo = TFrescuraOrden::SilencioMaximo;
    // Each of the two still waits of a gyro re-zero.
    static constexpr int EsperaCentrado = 1000;
    // The longest wait of a pass that read no event: while events come, and
    // once none has come for ReposoTras milliseconds.
    static constexpr int EsperaActiva = 1;
    static constexpr int EsperaReposo = 10;
    static constexpr std::int64_t ReposoTras = 250;
    // A loop that stood still longer than this has fallen behind the engine.
    static constexpr std::int64_t PausaMaxima = TFrescuraOrden::PausaMaxima;
    // While a drive bit is held, how often the window checks that its source
    // is still live: a stalled loop loses it within PausaMaxima plus this.
    static constexpr int IntervaloGuardia = 20;
    // The longest wait of a pass that read no event when the engine offers a
    // wake-up descriptor: well under PausaMaxima, so that an idle wait never
    // counts as a pause.
    static constexpr int EsperaConDespertador = 50;

    explicit TFMain(TDependencias dependencias = TDependencias::Reales(), QWidget* padre = nullptr);
    ~TFMain() override;
    TFMain(const TFMain&) = delete;
    TFMain& operator=(const TFMain&) = delete;

    // Event log (MainRegistro.cpp).
    void Registrar(NivelRegistro nivel, const QString& texto);
    void ActionLimpiarExecute();
    void ActionEstadosExecute();
    void ActionGuardarExecute();

    // Headset status indicators (MainIndicadores.cpp).
    void MostrarEstado(unsigned estadoCasco);
    void MostrarSenal(TNivelSenal senal);
    void MostrarBateria(int nivel, int maximo);
    void MostrarFuerza(std::uint16_t fuerza);
    void MostrarGiro(std::int16_t giro);
    void MostrarEntrenamiento(const QString& fichero, float nivel);
    void MostrarSensores(const std::array<int, NumElectrodos>* valores);
    void MostrarSensores() { MostrarSensores(nullptr); }
    void MostrarTiempo(float segundos);
    void MostrarEnlacePerdido();

    // Operating modes and window state (MainModos.cpp).
    void ActualizarVentana();
    void HabilitarServidor(bool activo);
    void HabilitarTiempo(bool activo);
    void HabilitarPerfil(bool activo);
    void ActionManualExecute();
    void ActionCascoExecute();
    void ActionDesconectarExecute();
    void ActionCentrarCascoExecute();
    void RadioGroupMotorClick();
    void ActionActuadorExecute();

    // Manual driving and the arrow images (MainFlechas.cpp).
    void MostrarFlechas(TDireccion direccion, TGiro giro, bool avRetActivo, bool giroActivo);
    // Writes the current command (TFrescuraOrden) and, in manual mode,
    // shows it on the arrows.
    void EnviarOrden();
    void ImageFlechasArribaAbajoMouseDown(int x, int y);
    void ImageFlechasArribaAbajoMouseUp(int x, int y);
    void ImageFlechasIzquierdaDerechaMouseDown(int x, int y);

    // Tuning and connection controls (MainControles.cpp).
    void TrackBarUmbralAvRetChange();
    void TrackBarUmbralGiroChange();
    void TrackBarAvanceChange();
    void TrackBarRetrocesoChange();
    void EditIp1Exit(QLineEdit* emisor);
    void EditPuertoExit();
    void ActionCargaPerfilExecute();

    // The control loop: one whole connection (MainBucle.cpp).
    void ActionConectarExecute();

    // Start-up, close request and shutdown (MainInicio.cpp).
    bool FormCloseQuery();
    void FormDestroy();
    // The session ends (a signal): open dialogs are dismissed, a run ends at
    // its next pass, and the window closes once nothing runs, so that the
    // shutdown stops the vehicle.
    void Terminar();
    // The application's error box: caption "Gedanko", error icon, the
    // message with a full stop added when it ends in no punctuation.
    static QString TextoErrorAplicacion(const QString& mensaje);
    static void MostrarErrorAplicacion(const QString& mensaje);

    // The keyboard (MainTeclado.cpp): the emergency stop in every mode, the
    // arrow keys in manual mode.
    void ParadaEmergencia();

    // About box and help (MainAyuda.cpp).
    void ActionAcercaDeExecute();
    void ActionAyudaExecute();

    // Read-only views of the window state.
    bool Conectado() const { return FConectado; }
    bool ModoManual() const { return FModoManual; }
    bool Continuar() const { return FContinuar; }
    bool CentrarPendiente() const { return FCentrarPendiente; }
    bool PerfilPendiente() const { return FPerfilPendiente; }
    bool PerfilCargado() const { return FPerfilCargado; }
    QString FicheroPerfil() const { return FFicheroPerfil; }
    TGiro GiroManual() const { return FFrescura.GiroManual(); }
    std::uint16_t IndiceCasco() const { return FIndiceCasco; }
    const QString& FicheroIni() const { return FFicheroIni; }
    const QString& FicheroAyuda() const { return FFicheroAyuda; }
    TVentanaAyuda* VentanaAyuda() const { return FVentanaAyuda; }
    TGrafica* Grafica() const { return FGrafica.get(); }

protected:
    // A close request goes through FormCloseQuery, whatever its origin.
    void closeEvent(QCloseEvent* evento) override;
    // Centres the window on its screen when it is first shown.
    void showEvent(QShowEvent* evento) override;
    // Keeps the fixed size: the window is never maximised or full screen.
    // Minimised or deactivated, it holds no manual command.
    void changeEvent(QEvent* evento) override;
    void hideEvent(QHideEvent* evento) override;
    // The platform window's exposure: unmapped (another desktop), it holds
    // no manual command either.
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    struct TEjecucion;

    // Construction (Main.cpp).
    void PrepararControles();
    void ConectarAcciones();
    // Modes (MainModos.cpp).
    void ConectarManejadoresConduccion();
    bool ModosBloqueados();
    void ReiniciarIndicadores();
    void DetenerGrafica();
    // Arrows and tuning controls (MainFlechas.cpp, MainControles.cpp).
    void ConectarFlechas();
    void ConectarControles();
    // The freshness of the command (MainFlechas.cpp): the window no longer
    // holds what the operator pressed on it, and the watchdog's tick.
    void PerderVentana();
    bool VentanaViva() const;
    void Vigilar();
    void ApagarAvRetMostrado();
    // Keys pressed or released on this window; true when taken.
    bool AtenderTecla(const QKeyEvent& tecla);
    bool AtenderFlechaTeclado(const QKeyEvent& tecla);
    // The control loop (MainBucle.cpp).
    bool IniciarEjecucion(TEjecucion& ejecucion);
    void Pasada(TEjecucion& ejecucion);
    void AtenderEvento(TEjecucion& ejecucion);
    void AtenderEstado(TEjecucion& ejecucion);
    void AtenderSinEvento(TEjecucion& ejecucion);
    void DetenerSiSilencio(TEjecucion& ejecucion);
    void EsperarLatiendo(int milisegundos);
    void SoltarGiroDecidido();
    void EnviarSalidas(TEjecucion& ejecucion);
    void CentrarGiroscopio(TEjecucion& ejecucion);
    void CargarPerfilPendiente();
    void TerminarEjecucion(TEjecucion& ejecucion);
    void PrepararDespertador(TEjecucion& ejecucion);
    void EsperarMensajes(TEjecucion& ejecucion);
    // Start-up and shutdown (MainInicio.cpp).
    void Iniciar();
    void LeerVersion();
    void LeerUmbrales();
    void CrearActuador();
    bool EscribirUmbral(TFicheroIni& fichero, const QString& clave, int valor);

    // The generated form: every designed control and action by its name.
    std::unique_ptr<Ui::TFMain> ui;
    TDependencias FDependencias;
    std::unique_ptr<TRegistroEventos> FRegistro;

    std::unique_ptr<TConexion> FConexion;
    std::unique_ptr<TActuador> FActuador;
    std::unique_ptr<TGrafica> FGrafica;

    bool FConectado = false;
    bool FContinuar = false;
    bool FModoManual = true;
    bool FCentrarPendiente = false;
    bool FPerfilPendiente = false;
    bool FPerfilCargado = false;
    QString FFicheroPerfil;
    QString FFicheroIni;
    // Which command may reach the vehicle now, in every mode; what was last
    // written from it; and the watchdog that drops a drive bit whose source
    // has gone quiet.
    TFrescuraOrden FFrescura;
    TOrdenVigente FOrdenEscrita;
    QTimer FGuardia;
    std::uint16_t FIndiceCasco = 0;
    std::uint16_t FIndiceAvRet = 0;
    std::uint16_t FIndiceGiro = 0;
    QString FVersionProducto;
    QString FVersionFichero;
    QString FComentarios;
    QString FNombreInterno;
    QString FNombreProducto;
    QString FDerechosAutor;

    bool FEnEjecucion = false; // a run is between its click and its end
    TEjecucion* FEjecucion = nullptr; // the run under way, for the emergency stop
    bool FModosBloqueados = false; // from the click until the run's last steps
    bool FTerminar = false; // the session ends once the run has
    bool FDestruido = false;
    bool FCentrada = false;
    QString FFicheroAyuda;
    TVentanaAyuda* FVentanaAyuda = nullptr; // a child window: the form owns it
};
