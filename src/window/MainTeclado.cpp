// The keyboard: an emergency stop on Space, Esc and the keypad's 0 in every
// mode, and in manual mode the arrow keys, which drive as the arrow images
// do (up and down while held, left and right toggle the turn) under the same
// freshness rules as the mouse.
#include "Main.h"

#include <QKeyEvent>

namespace {

bool EsParada(const QKeyEvent& tecla)
{
    const bool numerico = tecla.modifiers() & Qt::KeypadModifier;
    switch (tecla.key()) {
    case Qt::Key_Space:
    case Qt::Key_Escape:
        return true;
    case Qt::Key_0:
    case Qt::Key_Insert: // the keypad's 0 without Num Lock
        return numerico;
    default:
        return false;
    }
}

} // namespace

// All off at once, whatever the mode and state, held until the operator
// drives again; the line says so.
void TFMain::ParadaEmergencia()
{
    FFrescura.Emergencia();
    SoltarGiroDecidido();
    EnviarOrden();
    MostrarFlechas(dirNinguna, giroNinguno, false, false);
    Registrar(nrError, QStringLiteral("Parada de emergencia: vehículo detenido hasta que vuelva a conducir"));
}

bool TFMain::AtenderTecla(const QKeyEvent& tecla)
{
    if (EsParada(tecla)) {
        // A held key repeats; one stop is enough.
        if (tecla.type() == QEvent::KeyPress && !tecla.isAutoRepeat())
            ParadaEmergencia();
        return true;
    }
    return FModoManual && AtenderFlechaTeclado(tecla);
}

bool TFMain::AtenderFlechaTeclado(const QKeyEvent& tecla)
{
    const bool pulsada = tecla.type() == QEvent::KeyPress;
    TDireccion direccion = dirNinguna;
    TGiro giro = giroNinguno;
    switch (tecla.key()) {
    case Qt::Key_Up:
        direccion = dirAvance;
        break;
    case Qt::Key_Down:
        direccion = dirRetroceso;
        break;
    case Qt::Key_Left:
        giro = giroIzquierda;
        break;
    case Qt::Key_Right:
        giro = giroDerecha;
        break;
    default:
        return false;
    }
    if (tecla.isAutoRepeat())
        return true;
    if (direccion != dirNinguna) {
        if (pulsada && VentanaViva())
            FFrescura.PulsarFlecha(direccion);
        else if (!pulsada && FFrescura.FlechaPulsada() == direccion)
            FFrescura.SoltarFlecha();
        else
            return true;
    } else {
        if (!pulsada || !VentanaViva())
            return true;
        FFrescura.FijarGiroManual(FFrescura.GiroManual() == giro ? giroNinguno : giro);
    }
    EnviarOrden();
    return true;
}
