// Manual driving with the two arrow images, and the pictures that show a
// command on them in every mode: yellow for what is sent, lime for what is
// only detected.
#include "Main.h"

#include "Actuador.h"
#include "Imagenes.h"
#include "ui_Main.h"

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

// The pictures show the command even when it cannot reach the port.
void TFMain::EnviarOrden(TDireccion direccion, TGiro giro)
{
    if (FActuador)
        FActuador->Mover(direccion, giro);
    MostrarFlechas(direccion, giro, true, true);
}

void TFMain::ImageFlechasArribaAbajoMouseDown(int x, int y)
{
    if (!FModoManual)
        return;
    if (RegionArriba.Contiene(x, y))
        EnviarOrden(dirAvance, FGiroManual);
    else if (RegionAbajo.Contiene(x, y))
        EnviarOrden(dirRetroceso, FGiroManual);
}

// Forward and backward last only while the button is held. Outside manual
// mode the release does nothing: the turn remembered from manual driving is
// not a command of the headset mode, and leaving manual mode already stopped
// the vehicle.
void TFMain::ImageFlechasArribaAbajoMouseUp(int, int)
{
    if (!FModoManual)
        return;
    EnviarOrden(dirNinguna, FGiroManual);
}

// A turn toggles: the lit arrow switches it off, the other switches sides.
void TFMain::ImageFlechasIzquierdaDerechaMouseDown(int x, int y)
{
    if (!FModoManual)
        return;
    TGiro giro = giroNinguno;
    if (RegionIzquierda.Contiene(x, y) && FGiroManual != giroIzquierda)
        giro = giroIzquierda;
    else if (RegionDerecha.Contiene(x, y) && FGiroManual != giroDerecha)
        giro = giroDerecha;
    FGiroManual = giro;
    EnviarOrden(dirNinguna, FGiroManual);
}

void TFMain::ConectarFlechas()
{
    connect(ui->ImageFlechasArribaAbajo, &TImagen::RatonPulsado, this,
            [this](Qt::MouseButton, int x, int y) { ImageFlechasArribaAbajoMouseDown(x, y); });
    connect(ui->ImageFlechasArribaAbajo, &TImagen::RatonSoltado, this,
            [this](Qt::MouseButton, int x, int y) { ImageFlechasArribaAbajoMouseUp(x, y); });
    connect(ui->ImageFlechasIzquierdaDerecha, &TImagen::RatonPulsado, this,
            [this](Qt::MouseButton, int x, int y) { ImageFlechasIzquierdaDerechaMouseDown(x, y); });
}
