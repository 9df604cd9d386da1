// Start-up, close request and shutdown of the main window: the version
// strings, the settings file with the two thresholds, the default control
// values, the log banner and the actuator; closing only while disconnected;
// releasing the actuator and the chart and saving the thresholds at exit.
#include "Main.h"

#include "Actuador.h"
#include "Conexion.h"
#include "Dialogos.h"
#include "FicheroIni.h"
#include "Grafica.h"
#include "InformacionVersion.h"
#include "LugarAjustes.h"
#include "OrdenVehiculo.h"
#include "RegistroEventos.h"
#include "ServidorEmulador.h"
#include "ui_Main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QSlider>

#include <chrono>
#include <thread>

namespace {

const QString SeccionUmbrales = QStringLiteral("UMBRALES");
const QString SeccionSalida = QStringLiteral("SALIDA");
const QString ClaveDestino = QStringLiteral("Destino");
const QString ClaveAvRet = QStringLiteral("AVRET");
const QString ClaveGiro = QStringLiteral("GIRO");

std::int64_t RelojReal()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void EsperaReal(int milisegundos)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milisegundos));
}

// What a caller left empty takes the real one.
void Completar(TFMain::TDependencias& dependencias)
{
    TFMain::TDependencias reales = TFMain::TDependencias::Reales();
    if (!dependencias.Reloj)
        dependencias.Reloj = std::move(reales.Reloj);
    if (!dependencias.Espera)
        dependencias.Espera = std::move(reales.Espera);
    if (!dependencias.Dialogos)
        dependencias.Dialogos = std::move(reales.Dialogos);
    if (!dependencias.ErrorAplicacion)
        dependencias.ErrorAplicacion = std::move(reales.ErrorAplicacion);
    if (dependencias.Ejecutable.isEmpty())
        dependencias.Ejecutable = reales.Ejecutable;
    if (dependencias.LibreriaPuerto.isEmpty())
        dependencias.LibreriaPuerto = reales.LibreriaPuerto;
}

} // namespace

TFMain::TDependencias TFMain::TDependencias::Reales()
{
    TDependencias reales;
    reales.Reloj = RelojReal;
    reales.Espera = EsperaReal;
    reales.Dialogos = std::make_unique<TDialogosQt>();
    reales.ErrorAplicacion = &TFMain::MostrarErrorAplicacion;
    reales.Ejecutable = QCoreApplication::applicationFilePath();
    reales.LibreriaPuerto = QString::fromLatin1(TActuador::LibreriaPuerto);
    return reales;
}

QString TFMain::TextoErrorAplicacion(const QString& mensaje)
{
    if (mensaje.isEmpty() || mensaje.back().isPunct())
        return mensaje;
    return mensaje + QLatin1Char('.');
}

void TFMain::MostrarErrorAplicacion(const QString& mensaje)
{
    QMessageBox caja(QMessageBox::Critical, QStringLiteral("Gedanko"), TextoErrorAplicacion(mensaje), QMessageBox::Ok);
    caja.exec();
}

// The start-up steps, in order, on the designed controls.
void TFMain::Iniciar()
{
    Completar(FDependencias);

    LeerVersion();
    FFicheroIni = RutaAjustes(FDependencias.Ejecutable);
    LeerUmbrales();
    TrackBarUmbralAvRetChange();
    TrackBarUmbralGiroChange();
    FFicheroAyuda = TFicheroIni::RutaJuntoAlEjecutable(FDependencias.Ejecutable, u".html");

    FConectado = false;
    FContinuar = false;
    FModoManual = true;
    FPerfilCargado = false;
    FPerfilPendiente = false;
    FFicheroPerfil.clear();
    FCentrarPendiente = false;
    FFrescura.CambiarModo(true);
    FConexion.reset();

    FGrafica = std::make_unique<TGrafica>(ui->PaintBoxGrafica, ui->ImageGrafica);
    FRegistro->Limpiar();
    // The address's four parts, one to each edit.
    const QStringList partes = QString::fromLatin1(DireccionEmuladorPorDefecto).split(QLatin1Char('.'));
    QLineEdit* const edits[] = {ui->EditIp1, ui->EditIp2, ui->EditIp3, ui->EditIp4};
    for (int i = 0; i < int(std::size(edits)); ++i)
        edits[i]->setText(partes.value(i));
    ui->EditPuerto->setText(PuertoPorDefecto);
    ui->PanelCalibrandoAcelerometros->hide();
    ui->ActionManual->setChecked(true);
    ui->ActionActuador->setChecked(false);
    ui->LabelFicheroPerfil->setText(QString());
    ui->LabelFicheroPerfil->setToolTip(QString());
    ActualizarVentana();

    TInformacionVersion version;
    version.FVersionProducto = FVersionProducto;
    version.FVersionFichero = FVersionFichero;
    version.FComentarios = FComentarios;
    version.FNombreInterno = FNombreInterno;
    version.FNombreProducto = FNombreProducto;
    version.FDerechosAutor = FDerechosAutor;
    Registrar(nrInformacion, version.PrimeraLineaRegistro());
    Registrar(nrInformacion, version.SegundaLineaRegistro());

    CrearActuador();
}

void TFMain::LeerVersion()
{
    const TInformacionVersion version = TInformacionVersion::Leer();
    FVersionProducto = version.FVersionProducto;
    FVersionFichero = version.FVersionFichero;
    FComentarios = version.FComentarios;
    FNombreInterno = version.FNombreInterno;
    FNombreProducto = version.FNombreProducto;
    FDerechosAutor = version.FDerechosAutor;
}

// Reading never fails: anything missing or unreadable gives the default, and
// the bars bring a value outside 0..10 to the nearest bound.
void TFMain::LeerUmbrales()
{
    const TFicheroIni fichero(FFicheroIni);
    // Their change handlers run once afterwards, changed or not.
    const QSignalBlocker bloqueoAvRet(ui->TrackBarUmbralAvRet);
    const QSignalBlocker bloqueoGiro(ui->TrackBarUmbralGiro);
    ui->TrackBarUmbralAvRet->setValue(fichero.LeerEntero(SeccionUmbrales, ClaveAvRet, UmbralPorDefecto));
    ui->TrackBarUmbralGiro->setValue(fichero.LeerEntero(SeccionUmbrales, ClaveGiro, UmbralPorDefecto));
}

void TFMain::CrearActuador()
{
    const QString destino = TFicheroIni(FFicheroIni).LeerTexto(SeccionSalida, ClaveDestino, QString());
    FActuador = std::make_unique<TActuador>(destino, QFile::encodeName(FDependencias.LibreriaPuerto).constData());
    FActuador->FijarAviso(
        [this](bool error, const QString& linea) { Registrar(error ? nrError : nrInformacion, linea); });
    // A frame output's heartbeat repeats only what is current at each beat.
    FActuador->FijarVigente([this] {
        const TOrdenVigente orden = FFrescura.Vigente(FDependencias.Reloj());
        return OrdenVehiculo(orden.Direccion, orden.Giro);
    });
    // The parallel port keeps its designed hint.
    if (FActuador->Destino().Tipo() != TDestinoSalida::tdParalelo)
        ui->ActionActuador->setToolTip(QStringLiteral("Control de la salida ") + FActuador->Destino().Texto());
    if (FActuador->HayError()) {
        Registrar(nrError, FActuador->MensajeError());
        // Then why, and what the operator can do about it.
        if (!FActuador->CausaError().isEmpty())
            Registrar(nrError, FActuador->CausaError());
        return;
    }
    FActuador->Parar();
    FActuador->Habilitar(ui->ActionActuador->isChecked());
}

bool TFMain::FormCloseQuery()
{
    return !FConectado;
}

void TFMain::closeEvent(QCloseEvent* evento)
{
    if (!FormCloseQuery()) {
        evento->ignore();
        return;
    }
    // A run that is still connecting must not go on looping in a hidden
    // window: it ends, and the window is destroyed after its handler returns.
    FContinuar = false;
    QWidget::closeEvent(evento);
}

void TFMain::Terminar()
{
    FTerminar = true;
    FContinuar = false;
    // A modal dialog holds the loop still: it goes first.
    while (QWidget* dialogo = QApplication::activeModalWidget()) {
        if (!dialogo->close())
            break;
    }
    if (!FEnEjecucion)
        close();
}

void TFMain::FormDestroy()
{
    if (FDestruido)
        return;
    FDestruido = true;
    // The vehicle must not keep the last command once the program has gone:
    // with output on, the all-off byte goes out before the library is freed.
    FGuardia.stop();
    FFrescura.CambiarModo(FModoManual);
    if (FActuador)
        FActuador->Mover(dirNinguna, giroNinguno);
    FActuador.reset();
    FGrafica.reset();
    TFicheroIni fichero(FFicheroIni);
    // After a failed AVRET the file is not tried again for GIRO.
    if (EscribirUmbral(fichero, ClaveAvRet, ui->TrackBarUmbralAvRet->value()))
        EscribirUmbral(fichero, ClaveGiro, ui->TrackBarUmbralGiro->value());
}

bool TFMain::EscribirUmbral(TFicheroIni& fichero, const QString& clave, int valor)
{
    if (fichero.EscribirEntero(SeccionUmbrales, clave, valor))
        return true;
    FDependencias.ErrorAplicacion(TextoErrorAplicacion(fichero.MensajeError()));
    return false;
}
