// Manual driving with the two arrow images, and the pictures that show a
// command on them in every mode: yellow for what is sent, lime for what is
// only detected.
#include "Main.h"

#include "Actuador.h"
#include "Imagenes.h"
#include "ui_Main.h"

#include <QApplication>
#include <QWindow>

namespace {

// Regions of the arrows in the controls' own coordinates, bounds included.
struct TRegion {
    int X1, X2, Y1, Y2;
    bool Contiene(int x, int y) const { return x >= X1 && x <= X2 && y >= Y1 && y <= Y2; }
};

constexpr TRegion RegionArriba {6, 28, 10, 60};
constexpr TRegion RegionAbajo {6, 28, 100, 150};
constexpr TRegion RegionIzquierda {10, 60, 6, 28};
constexpr TRegion RegionDerecha {100, 150, 6, 28};

// Sent commands take the second, yellow half of each picture list.
constexpr std::uint16_t DesplazamientoAvRetActivo = 3;
constexpr std::uint16_t DesplazamientoGiroActivo = 2;

} // namespace

void TFMain::MostrarFlechas(TDireccion direccion, TGiro giro, bool avRetActivo, bool giroActivo)
{
    std::uint16_t indiceAvRet = direccion;
    if (avRetActivo && direccion != dirNinguna)
        indiceAvRet += DesplazamientoAvRetActivo;
    std::uint16_t indiceGiro = giro;
    if (giroActivo && giro != giroNinguno)
        indiceGiro += DesplazamientoGiroActivo;

    // Called for every engine event: draw only what changed.
    if (indiceAvRet != FIndiceAvRet) {
        FIndiceAvRet = indiceAvRet;
        ui->ImageFlechasArribaAbajo->FijarImagen(ImagenFlechasArribaAbajo(indiceAvRet));
    }
    if (indiceGiro != FIndiceGiro) {
        FIndiceGiro = indiceGiro;
        ui->ImageFlechasIzquierdaDerecha->FijarImagen(ImagenFlechasIzquierdaDerecha(indiceGiro));
    }
}

// Writes what every output must hold now. The watchdog runs while a drive
// bit is held, so that a source gone quiet cannot leave it on. In manual
// mode the pictures show the command even when it cannot reach the port.
void TFMain::EnviarOrden()
{
    const TOrdenVigente orden = FFrescura.Vigente(FDependencias.Reloj());
    FOrdenEscrita = orden;
    if (FActuador)
        FActuador->Mover(orden.Direccion, orden.Giro);
    if (!orden.Mueve())
        FGuardia.stop();
    else if (!FGuardia.isActive())
        FGuardia.start();
    if (FModoManual)
        MostrarFlechas(orden.Direccion, orden.Giro, true, true);
}

void TFMain::ImageFlechasArribaAbajoMouseDown(int x, int y)
{
    if (!FModoManual || !VentanaViva())
        return;
    if (RegionArriba.Contiene(x, y))
        FFrescura.PulsarFlecha(dirAvance);
    else if (RegionAbajo.Contiene(x, y))
        FFrescura.PulsarFlecha(dirRetroceso);
    else
        return;
    EnviarOrden();
}

// Forward and backward last only while the button is held. Outside manual
// mode the release does nothing: the headset mode holds no manual command.
void TFMain::ImageFlechasArribaAbajoMouseUp(int, int)
{
    if (!FModoManual)
        return;
    FFrescura.SoltarFlecha();
    EnviarOrden();
}

// A turn toggles: the lit arrow switches it off, the other switches sides.
void TFMain::ImageFlechasIzquierdaDerechaMouseDown(int x, int y)
{
    if (!FModoManual || !VentanaViva())
        return;
    const TGiro actual = FFrescura.GiroManual();
    TGiro giro = giroNinguno;
    if (RegionIzquierda.Contiene(x, y) && actual != giroIzquierda)
        giro = giroIzquierda;
    else if (RegionDerecha.Contiene(x, y) && actual != giroDerecha)
        giro = giroDerecha;
    FFrescura.FijarGiroManual(giro);
    EnviarOrden();
}

// A manual command is current only while the operator has the window: shown,
// not minimised, on screen, with no popup or dialog over it. Losing the
// activation ends it too (changeEvent); a press may come a moment before a
// window manager activates the window it clicked, so it is not asked here.
bool TFMain::VentanaViva() const
{
    const QWindow* ventana = windowHandle();
    return isVisible() && !isMinimized() && ventana && ventana->isExposed() && !QApplication::activePopupWidget()
           && !QApplication::activeModalWidget();
}

// The window can no longer see the button's release: nothing held on it is
// current. All off at once, the manual turn released.
void TFMain::PerderVentana()
{
    if (!FModoManual || FFrescura.Vigente(FDependencias.Reloj()) == TOrdenVigente {})
        return;
    FFrescura.PerderVentana();
    EnviarOrden();
}

// The watchdog's tick while a drive bit is held: a window that lost the
// operator, a loop that stands still or an engine gone silent drops it.
void TFMain::Vigilar()
{
    if (!VentanaViva())
        PerderVentana();
    if (!FModoManual && FFrescura.Vigente(FDependencias.Reloj()) != FOrdenEscrita) {
        ApagarAvRetMostrado();
        EnviarOrden();
    }
}

// A sent forward or backward that the watchdog dropped shows as only detected.
void TFMain::ApagarAvRetMostrado()
{
    if (FIndiceAvRet <= DesplazamientoAvRetActivo)
        return;
    FIndiceAvRet -= DesplazamientoAvRetActivo;
    ui->ImageFlechasArribaAbajo->FijarImagen(ImagenFlechasArribaAbajo(FIndiceAvRet));
}

void TFMain::ConectarFlechas()
{
    connect(ui->ImageFlechasArribaAbajo, &TImagen::RatonPulsado, this,
            [this](Qt::MouseButton, int x, int y) { ImageFlechasArribaAbajoMouseDown(x, y); });
    connect(ui->ImageFlechasArribaAbajo, &TImagen::RatonSoltado, this,
            [this](Qt::MouseButton, int x, int y) { ImageFlechasArribaAbajoMouseUp(x, y); });
    connect(ui->ImageFlechasIzquierdaDerecha, &TImagen::RatonPulsado, this,
            [this](Qt::MouseButton, int x, int y) { ImageFlechasIzquierdaDerechaMouseDown(x, y); });
    FGuardia.setInterval(IntervaloGuardia);
    FGuardia.setTimerType(Qt::PreciseTimer);
    connect(&FGuardia, &QTimer::timeout, this, [this] { Vigilar(); });
}
