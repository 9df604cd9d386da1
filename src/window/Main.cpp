// The main window's construction: the designed form plus what the form file
// cannot hold (pixel fonts, validators, pictures, action bindings).
#include "Main.h"

#include "Actuador.h"
#include "Conexion.h"
#include "Controles.h"
#include "Dialogos.h"
#include "Grafica.h"
#include "Imagenes.h"
#include "RegistroEventos.h"
#include "ServidorEmulador.h"
#include "ui_Main.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QShowEvent>
#include <QTextDocument>
#include <QWindow>

const QString PuertoPorDefecto = QString::number(PuertoEmuladorPorDefecto);

namespace {

constexpr int AnchoCliente = 774;
constexpr int AltoCliente = 449;

// The designed faces, with close metric-compatible faces where they are missing.
QFont FuenteDePixeles(const QString& familia, int pixeles, bool negrita = false)
{
    QFont fuente(familia);
    fuente.setPixelSize(pixeles);
    fuente.setBold(negrita);
    return fuente;
}

void SustituirFuentes()
{
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Courier New"),
                               {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
}

const char* const EstiloBarra
    = "QFrame#%1 { border: 2px groove #a0a4ac; border-radius: 2px;"
      " background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #fbfcfe, stop:0.5 #e9edf3, stop:1 #d3d9e2); }";

} // namespace

TFMain::TFMain(TDependencias dependencias, QWidget* padre)
    : QWidget(padre),
      ui(std::make_unique<Ui::TFMain>()),
      FDependencias(std::move(dependencias))
{
    SustituirFuentes();
    ui->setupUi(this);
    PrepararControles();
    ConectarAcciones();

    FRegistro = std::make_unique<TRegistroEventos>(ui->RichEditRegistro);
    ConectarManejadoresConduccion();
    // The emergency stop and the arrow keys work whichever control has the focus.
    QCoreApplication::instance()->installEventFilter(this);
    Iniciar();
}

// The window is destroyed only once no handler of it runs any more, so the
// shutdown steps find every control still in place.
TFMain::~TFMain()
{
    FormDestroy();
}

void TFMain::PrepararControles()
{
    // Window: fixed client area, no maximise button.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(AnchoCliente, AltoCliente);
    // The window and its panels stand on the system's window colour.
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, paleta.color(QPalette::Base));
    setPalette(paleta);
    setWindowIcon(IconoPrograma());
    setFont(FuenteDePixeles(QStringLiteral("Tahoma"), 11));
    ui->LabelCalibrando->setFont(FuenteDePixeles(QStringLiteral("Tahoma"), 15, true));
    ui->LabelPermanezca->setFont(FuenteDePixeles(QStringLiteral("Tahoma"), 12));
    QFont fija = FuenteDePixeles(QStringLiteral("Courier New"), 11);
    fija.setFixedPitch(true);
    fija.setStyleHint(QFont::TypeWriter);
    ui->RichEditRegistro->setFont(fija);

    // Edits take digits only.
    const QRegularExpression digitos(QStringLiteral("[0-9]*"));
    for (QLineEdit* edit : {ui->EditIp1, ui->EditIp2, ui->EditIp3, ui->EditIp4, ui->EditPuerto})
        edit->setValidator(new QRegularExpressionValidator(digitos, edit));

    // Tool bars: images by their index in the tool-bar list.
    const std::pair<QAction*, int> imagenes[] = {
        {ui->ActionLimpiar, 0},  {ui->ActionEstados, 1},  {ui->ActionGuardar, 2}, {ui->ActionAyuda, 3},
        {ui->ActionAcercaDe, 4}, {ui->ActionActuador, 5}, {ui->ActionCasco, 6},   {ui->ActionManual, 7},
    };
    for (const auto& [accion, indice] : imagenes)
        accion->setIcon(ImagenToolBars(indice));
    const std::pair<QToolButton*, QAction*> botones[] = {
        {ui->ToolButtonManual, ui->ActionManual},     {ui->ToolButtonCasco, ui->ActionCasco},
        {ui->ToolButtonActuador, ui->ActionActuador}, {ui->ToolButtonAyuda, ui->ActionAyuda},
        {ui->ToolButtonAcercaDe, ui->ActionAcercaDe}, {ui->ToolButtonLimpiar, ui->ActionLimpiar},
        {ui->ToolButtonEstados, ui->ActionEstados},   {ui->ToolButtonGuardar, ui->ActionGuardar},
    };
    for (const auto& [boton, accion] : botones)
        boton->setDefaultAction(accion);
    for (QFrame* barra : {ui->ToolBarPrincipal, ui->ToolBarRegistro})
        barra->setStyleSheet(QString::fromLatin1(EstiloBarra).arg(barra->objectName()));

    // Buttons bound to actions.
    VincularBoton(ui->BitBtnConectar, ui->ActionConectar);
    VincularBoton(ui->BitBtnDesconectar, ui->ActionDesconectar);
    VincularBoton(ui->SpeedButtonPerfil, ui->ActionCargaPerfil);
    VincularBoton(ui->SpeedButtonCentrarCasco, ui->ActionCentrarCasco);
    ui->SpeedButtonPerfil->setIcon(GlifoCarpeta());
    ui->SpeedButtonCentrarCasco->setIcon(GlifoCentrar());
    // The two buttons share one place: the window starts ready to connect.
    ui->ActionDesconectar->setVisible(false);

    // Every action's shortcut works anywhere in the window.
    addActions(findChildren<QAction*>());

    // Designed pictures.
    ui->ImageCasco->setPixmap(ImagenCasco(0));
    ui->ImageFlechasArribaAbajo->setPixmap(ImagenFlechasArribaAbajo(0));
    ui->ImageFlechasIzquierdaDerecha->setPixmap(ImagenFlechasIzquierdaDerecha(0));
    ui->ImageGrafica->setPixmap(ImagenLeyenda());
    FijarColorFondo(ui->PaintBoxGrafica, clBtnFace);

    ui->PanelCalibrandoAcelerometros->hide();

    // Tab order: engine choice, address, port, buttons, track bars.
    QWidget* orden[] = {
        ui->RadioGroupMotor->Boton(0),
        ui->RadioGroupMotor->Boton(1),
        ui->EditIp1,
        ui->EditIp2,
        ui->EditIp3,
        ui->EditIp4,
        ui->EditPuerto,
        ui->BitBtnConectar,
        ui->BitBtnDesconectar,
        ui->TrackBarUmbralAvRet,
        ui->TrackBarUmbralGiro,
        ui->TrackBarAvance,
        ui->TrackBarRetroceso,
    };
    for (size_t i = 1; i < std::size(orden); ++i)
        setTabOrder(orden[i - 1], orden[i]);
}

void TFMain::ConectarAcciones()
{
    connect(ui->ActionConectar, &QAction::triggered, this, [this] { ActionConectarExecute(); });
    connect(ui->ActionAcercaDe, &QAction::triggered, this, [this] { ActionAcercaDeExecute(); });
    connect(ui->ActionAyuda, &QAction::triggered, this, [this] { ActionAyudaExecute(); });
    connect(ui->ActionLimpiar, &QAction::triggered, this, [this] { ActionLimpiarExecute(); });
    connect(ui->ActionGuardar, &QAction::triggered, this, [this] { ActionGuardarExecute(); });
    // ActionEstados is checkable so that its button shows the switch, but
    // only its handler may invert it: undo the toolkit's own toggle first.
    connect(ui->ActionEstados, &QAction::triggered, this, [this](bool marcado) {
        ui->ActionEstados->setChecked(!marcado);
        ActionEstadosExecute();
    });
}

void TFMain::showEvent(QShowEvent* evento)
{
    QWidget::showEvent(evento);
    // Installing again replaces the earlier one.
    if (QWindow* ventana = windowHandle())
        ventana->installEventFilter(this);
    if (FCentrada || evento->spontaneous())
        return;
    FCentrada = true;
    if (const QScreen* pantalla = screen()) {
        QRect marco = frameGeometry();
        marco.moveCenter(pantalla->availableGeometry().center());
        move(marco.topLeft());
    }
}

void TFMain::changeEvent(QEvent* evento)
{
    QWidget::changeEvent(evento);
    if (evento->type() == QEvent::ActivationChange && !isActiveWindow())
        PerderVentana();
    if (evento->type() != QEvent::WindowStateChange)
        return;
    if (isMinimized())
        PerderVentana();
    const Qt::WindowStates agrandada = Qt::WindowMaximized | Qt::WindowFullScreen;
    if (windowState() & agrandada) {
        setWindowState(windowState() & ~agrandada);
        resize(AnchoCliente, AltoCliente);
    }
}

void TFMain::hideEvent(QHideEvent* evento)
{
    QWidget::hideEvent(evento);
    PerderVentana();
}

bool TFMain::eventFilter(QObject* objeto, QEvent* evento)
{
    const bool tecla = evento->type() == QEvent::KeyPress || evento->type() == QEvent::KeyRelease;
    if (tecla && objeto->isWidgetType() && static_cast<QWidget*>(objeto)->window() == this)
        return AtenderTecla(*static_cast<QKeyEvent*>(evento)) || QWidget::eventFilter(objeto, evento);
    if (evento->type() == QEvent::Expose && objeto == windowHandle() && !windowHandle()->isExposed())
        PerderVentana();
    return QWidget::eventFilter(objeto, evento);
}
