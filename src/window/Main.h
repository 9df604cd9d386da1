// The main window: the designed form, the window state shared by the driving
// control, the indicators and the log, and the objects the window owns.
// Handlers live in several units (Main*.cpp), one per area of behaviour.
#pragma once

#include "Tipos.h"

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QAbstractButton;
class QAction;
class QLineEdit;
class TActuador;
class TConexion;
class TDialogos;
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
    static constexpr int NumSensores = 16;

    explicit TFMain(QWidget* padre = nullptr);
    ~TFMain() override;
    TFMain(const TFMain&) = delete;
    TFMain& operator=(const TFMain&) = delete;

    // The generated form: every designed control and action by its name.
    // Public so that the window's units and the tests reach the controls.
    std::unique_ptr<Ui::TFMain> ui;

    // Event log.
    void Registrar(NivelRegistro nivel, const QString& texto);
    void ActionLimpiarExecute();
    void ActionEstadosExecute();
    void ActionGuardarExecute();

    // Replaces the modal dialogs (tests answer them without a person).
    void FijarDialogos(std::unique_ptr<TDialogos> dialogos);

    // Headset status indicators.
    void MostrarEstado(unsigned estadoCasco);
    void MostrarSenal(int senal);
    void MostrarBateria(int nivel, int maximo);
    void MostrarFuerza(std::uint16_t fuerza);
    void MostrarGiro(std::int16_t giro);
    void MostrarEntrenamiento(const QString& fichero, float nivel);
    void MostrarSensores(const std::array<int, NumSensores>* valores);
    void MostrarSensores() { MostrarSensores(nullptr); }
    void MostrarTiempo(float segundos);

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
    // Requests waiting for the control loop, and the manual turn.
    bool Continuar() const { return FContinuar; }
    bool CentrarPendiente() const { return FCentrarPendiente; }
    bool PerfilPendiente() const { return FPerfilPendiente; }
    QString FicheroPerfil() const { return FFicheroPerfil; }
    TGiro GiroManual() const { return FGiroManual; }
    // For tests only: start-up creates the actuator, the control loop the
    // connection and loads the profile.
    void FijarActuadorPrueba(std::unique_ptr<TActuador> actuador);
    void FijarConexionPrueba(std::unique_ptr<TConexion> conexion);
    void FijarPerfilCargadoPrueba(bool cargado) { FPerfilCargado = cargado; }
    void FijarContinuarPrueba(bool continuar) { FContinuar = continuar; }

private:
    void ConectarManejadoresConduccion();
    bool ModosBloqueados();
    void ReiniciarIndicadores();
    void DetenerGrafica();

public:
    // Manual driving and the arrow images (MainFlechas.cpp).
    void MostrarFlechas(TDireccion direccion, TGiro giro, bool avRetActivo, bool giroActivo);
    void EnviarOrden(TDireccion direccion, TGiro giro);
    void ImageFlechasArribaAbajoMouseDown(int x, int y);
    void ImageFlechasArribaAbajoMouseUp(int x, int y);
    void ImageFlechasIzquierdaDerechaMouseDown(int x, int y);

private:
    void ConectarFlechas();

public:
    // Tuning and connection controls (MainControles.cpp).
    void TrackBarUmbralAvRetChange();
    void TrackBarUmbralGiroChange();
    void TrackBarAvanceChange();
    void TrackBarRetrocesoChange();
    void EditIp1Exit(QLineEdit* emisor);
    void EditPuertoExit();
    void ActionCargaPerfilExecute();

private:
    void ConectarControles();

public:
    // The control loop: one whole connection (MainBucle.cpp).
    void ActionConectarExecute();
    // The loop's time: a clock in milliseconds and the plain wait of a gyro
    // re-zero. Real time unless a test replaces them (tests only).
    using TReloj = std::function<std::int64_t()>;
    using TEspera = std::function<void(int milisegundos)>;
    void FijarRelojPrueba(TReloj reloj, TEspera espera);
    // A forward or backward command is dropped after this long without any
    // engine event, so that a silent headset cannot keep the vehicle going.
    static constexpr std::int64_t SilencioMaximo = 1000;
    // Each of the two still waits of a gyro re-zero.
    static constexpr int EsperaCentrado = 1000;
    // The longest wait of a pass that read no event: while events come, and
    // once none has come for ReposoTras milliseconds.
    static constexpr int EsperaActiva = 1;
    static constexpr int EsperaReposo = 10;
    static constexpr std::int64_t ReposoTras = 250;
    // A loop that stood still longer than this has fallen behind the engine.
    static constexpr std::int64_t PausaMaxima = 100;

private:
    struct TEjecucion;
    bool IniciarEjecucion(TEjecucion& ejecucion);
    void Pasada(TEjecucion& ejecucion);
    void AtenderEvento(TEjecucion& ejecucion);
    void AtenderEstado(TEjecucion& ejecucion);
    void AtenderSinEvento(TEjecucion& ejecucion);
    void DetenerSiSilencio(TEjecucion& ejecucion);
    void VigilarPausa(TEjecucion& ejecucion);
    void EnviarSalidas(TEjecucion& ejecucion);
    void CentrarGiroscopio(TEjecucion& ejecucion);
    void CargarPerfilPendiente();
    void TerminarEjecucion(TEjecucion& ejecucion);
    void EsperarMensajes(TEjecucion& ejecucion);

    bool FEnEjecucion = false; // a run is between its click and its end
    bool FModosBloqueados = false; // from the click until the run's last steps
    bool FTerminar = false; // the session ends once the run has
    TReloj FReloj;
    TEspera FEspera;

public:
    // Start-up, close request and shutdown (MainInicio.cpp).
    bool FormCloseQuery();
    void FormDestroy();
    // The session ends (a signal): open dialogs are dismissed, a run ends at
    // its next pass, and the window closes once nothing runs, so that the
    // shutdown stops the vehicle.
    void Terminar();
    const QString& FicheroIni() const { return FFicheroIni; }
    // The application's error box: caption "Gedanko", error icon, the
    // message with a full stop added when it ends in no punctuation.
    static QString TextoErrorAplicacion(const QString& mensaje);
    static void MostrarErrorAplicacion(const QString& mensaje);
    // For tests only: the executable whose folder holds the settings and help
    // files (set before the window is built), and a stand-in for the error box.
    static void FijarEjecutablePrueba(const QString& ruta);
    void FijarErrorAplicacionPrueba(std::function<void(const QString&)> mostrar);

protected:
    // A close request goes through FormCloseQuery, whatever its origin.
    void closeEvent(QCloseEvent* evento) override;

private:
    void Iniciar();
    void LeerVersion();
    void LeerUmbrales();
    void CrearActuador();
    bool EscribirUmbral(TFicheroIni& fichero, const QString& clave, int valor);

    std::function<void(const QString&)> FMostrarErrorAplicacion;
    bool FDestruido = false;

public:
    // About box and help (MainAyuda.cpp).
    void ActionAcercaDeExecute();
    void ActionAyudaExecute();
    const QString& FicheroAyuda() const { return FFicheroAyuda; }
    TVentanaAyuda* VentanaAyuda() const { return FVentanaAyuda; }

private:
    QString FFicheroAyuda;
    TVentanaAyuda* FVentanaAyuda = nullptr; // a child window: the form owns it

public:
    // Read-only views of the window state.
    bool Conectado() const { return FConectado; }
    bool ModoManual() const { return FModoManual; }
    std::uint16_t IndiceCasco() const { return FIndiceCasco; }
    TGrafica* Grafica() const { return FGrafica.get(); }

    // For tests only: the control loop alone sets the connected flag.
    void FijarConectadoPrueba(bool conectado) { FConectado = conectado; }

protected:
    // Centres the window on its screen when it is first shown.
    void showEvent(QShowEvent* evento) override;
    // Keeps the fixed size: the window is never maximised or full screen.
    void changeEvent(QEvent* evento) override;

private:
    void PrepararControles();
    void ConectarAcciones();

    std::unique_ptr<TRegistroEventos> FRegistro;
    std::unique_ptr<TDialogos> FDialogos;

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
    TGiro FGiroManual = giroNinguno;
    std::uint16_t FIndiceCasco = 0;
    std::uint16_t FIndiceAvRet = 0;
    std::uint16_t FIndiceGiro = 0;
    QString FVersionProducto;
    QString FVersionFichero;
    QString FComentarios;
    QString FNombreInterno;
    QString FNombreProducto;
    QString FDerechosAutor;

    bool FCentrada = false;
};
