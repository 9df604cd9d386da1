// Tuning and connection controls: the threshold and sensitivity track bars,
// the server address and port edits, and the choice of the user profile.
// They hold values and requests; the control loop reads them and acts.
#include "Main.h"

#include "Conexion.h"
#include "Controles.h"
#include "Dialogos.h"
#include "Formato.h"
#include "ui_Main.h"

#include <QAction>
#include <QFileInfo>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSlider>
#include <functional>

namespace {

// Runs a handler when its edit loses the focus to another control. Not when
// the whole window is left or a popup opens: the operator is still typing.
class TFiltroSalida : public QObject {
public:
    TFiltroSalida(QObject* padre, std::function<void()> manejador)
        : QObject(padre),
          FManejador(std::move(manejador)) { }

    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (evento->type() == QEvent::FocusOut) {
            const Qt::FocusReason razon = static_cast<QFocusEvent*>(evento)->reason();
            if (razon != Qt::ActiveWindowFocusReason && razon != Qt::PopupFocusReason)
                FManejador();
        }
        return QObject::eventFilter(objeto, evento);
    }

private:
    std::function<void()> FManejador;
};

void AlSalir(QLineEdit* edit, std::function<void()> manejador)
{
    edit->installEventFilter(new TFiltroSalida(edit, std::move(manejador)));
}

// True when the text is a whole decimal number from minimo to maximo; only
// digits count, so signs and spaces make it invalid.
bool EnRango(const QString& texto, int minimo, int maximo)
{
    if (texto.isEmpty())
        return false;
    for (const QChar c : texto)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    bool correcto = false;
    const qulonglong valor = texto.toULongLong(&correcto, 10);
    return correcto && valor >= qulonglong(minimo) && valor <= qulonglong(maximo);
}

QString Porcentaje(int posicion)
{
    return FormatearNumero(posicion * 100.0 / EscalaLectura, u"0%");
}

void FijarHint(QWidget* control, const QString& hint)
{
    if (control->toolTip() != hint)
        control->setToolTip(hint);
}

} // namespace

void TFMain::TrackBarUmbralAvRetChange()
{
    const int posicion = ui->TrackBarUmbralAvRet->value();
    FijarHint(ui->TrackBarUmbralAvRet, QStringLiteral("Umbral Avance/Retroceso: ") + Porcentaje(posicion));
    // The mark sits where the power gauge's fill reaches the threshold.
    const QRect gauge = ui->CGaugeFuerza->geometry();
    ui->ShapeIndicadorFuerza->move(ui->ShapeIndicadorFuerza->x(),
                                   gauge.top() + gauge.height() - 1 - (gauge.height() * posicion) / EscalaLectura);
}

void TFMain::TrackBarUmbralGiroChange()
{
    const int posicion = ui->TrackBarUmbralGiro->value();
    FijarHint(ui->TrackBarUmbralGiro, QStringLiteral("Umbral Giro: ") + Porcentaje(posicion));
    const QRect gauge = ui->CGaugeGiro->geometry();
    ui->ShapeIndicadorGiro->move((posicion * gauge.width()) / EscalaLectura + gauge.left() - 1,
                                 ui->ShapeIndicadorGiro->y());
}

// The hint shows the requested value even when the engine refuses it.
void TFMain::TrackBarAvanceChange()
{
    const int posicion = ui->TrackBarAvance->value();
    FijarHint(ui->TrackBarAvance, QStringLiteral("Sensibilidad Avance: ") + FormatearNumero(posicion, u"0"));
    if (FConexion && !FConexion->FijarSensibilidadAvance(posicion))
        Registrar(nrError, FConexion->TextoError());
}

// The backward sensitivity belongs to pull: without it active in the
// profile there is nothing to set, and the operator is told what to do.
void TFMain::TrackBarRetrocesoChange()
{
    const int posicion = ui->TrackBarRetroceso->value();
    FijarHint(ui->TrackBarRetroceso, QStringLiteral("Sensibilidad Retroceso: ") + FormatearNumero(posicion, u"0"));
    if (!FConexion || FConexion->FijarSensibilidadRetroceso(posicion))
        return;
    if (FConexion->AccionTirarInactiva())
        Registrar(nrError,
                  QStringLiteral("La acción TIRAR no está activa en el perfil cargado: no se puede fijar la "
                                 "sensibilidad de retroceso. Entrene la acción TIRAR y actívela en el perfil."));
    else
        Registrar(nrError, FConexion->TextoError());
}

// Shared by the four address edits: a valid part stays as typed, leading zeros included.
void TFMain::EditIp1Exit(QLineEdit* emisor)
{
    if (emisor && !EnRango(emisor->text(), 0, 255))
        emisor->setText(QStringLiteral("0"));
}

void TFMain::EditPuertoExit()
{
    if (!EnRango(ui->EditPuerto->text(), 1, 65535))
        ui->EditPuerto->setText(PuertoPorDefecto);
}

// The load itself waits for the control loop; one request at a time.
void TFMain::ActionCargaPerfilExecute()
{
    if (!FDependencias.Dialogos)
        return;
    const QString fichero = FDependencias.Dialogos->ElegirFicheroAbrir(this);
    if (fichero.isEmpty())
        return;
    FPerfilPendiente = true;
    FFicheroPerfil = QFileInfo(fichero).absoluteFilePath();
    ui->ActionCargaPerfil->setEnabled(false);
}

void TFMain::ConectarControles()
{
    connect(ui->TrackBarUmbralAvRet, &QSlider::valueChanged, this, [this] { TrackBarUmbralAvRetChange(); });
    connect(ui->TrackBarUmbralGiro, &QSlider::valueChanged, this, [this] { TrackBarUmbralGiroChange(); });
    connect(ui->TrackBarAvance, &QSlider::valueChanged, this, [this] { TrackBarAvanceChange(); });
    connect(ui->TrackBarRetroceso, &QSlider::valueChanged, this, [this] { TrackBarRetrocesoChange(); });
    for (QSlider* barra : {ui->TrackBarUmbralAvRet, ui->TrackBarUmbralGiro, ui->TrackBarAvance, ui->TrackBarRetroceso})
        MostrarPosicionAlArrastrar(barra);
    for (QLineEdit* edit : {ui->EditIp1, ui->EditIp2, ui->EditIp3, ui->EditIp4})
        AlSalir(edit, [this, edit] { EditIp1Exit(edit); });
    AlSalir(ui->EditPuerto, [this] { EditPuertoExit(); });
    connect(ui->ActionCargaPerfil, &QAction::triggered, this, [this] { ActionCargaPerfilExecute(); });
}
