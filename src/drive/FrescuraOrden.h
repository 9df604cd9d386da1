// Which command may reach the vehicle now. A command is current only while
// its source is live: the control loop deciding (headset mode), or an arrow
// held on a visible, active window (manual mode). The window feeds this unit
// what happened, with the time on its own clock; every output (the port
// write after an event, the watchdog, the frame heartbeat) writes what
// Vigente answers, so that no path can hold a command that is not current.
#pragma once

#include "Tipos.h"

#include <cstdint>

// What every output must hold now.
struct TOrdenVigente {
    TDireccion Direccion = dirNinguna;
    TGiro Giro = giroNinguno;

    bool Mueve() const { return Direccion == dirAvance || Direccion == dirRetroceso; }
    bool operator==(const TOrdenVigente&) const = default;
};

class TFrescuraOrden {
public:
    // A loop that has not run for longer than this no longer decides: its
    // forward or backward is dropped, and the states that queued meanwhile
    // are out of date.
    static constexpr std::int64_t PausaMaxima = 100;
    // Without any engine event for this long, forward and backward stop.
    static constexpr std::int64_t SilencioMaximo = 1000;

    // Headset mode: one run of the control loop.
    void IniciarEjecucion(std::int64_t ahora);
    void TerminarEjecucion();
    // The loop is running now. After a stand-still longer than PausaMaxima
    // the held forward or backward is dropped for good and the states read
    // until the queue is next found empty are out of date.
    void Paso(std::int64_t ahora);
    // A poll found the engine's queue empty: the next state read is current.
    void ColaVacia();
    // Any engine event read (the silence rule).
    void EventoLeido(std::int64_t ahora);
    // What the pass decided from the state in hand. Forward and backward
    // count only while the states are current (AlDia).
    void Decidir(TDireccion direccion, TGiro giro);
    // Forward and backward off now, a latched turn stays (a re-zero's
    // waits); the states read until the queue is next found empty are out
    // of date.
    void Detener();
    // A poll failed with an error: all off; what the link brings once back
    // is out of date. True the first time since the last event read, so
    // that the caller reports a failing link once.
    bool PerderEnlace();
    // True once when the silence rule stops a drive; the caller logs it.
    bool Silencio(std::int64_t ahora);
    bool AlDia() const { return FAlDia; }
    std::int64_t UltimoEvento() const { return FUltimoEvento; }

    // Manual mode: the arrows.
    void PulsarFlecha(TDireccion direccion);
    void SoltarFlecha();
    void FijarGiroManual(TGiro giro);
    TGiro GiroManual() const { return FGiroManual; }
    TDireccion FlechaPulsada() const { return FFlecha; }
    // The window was hidden, minimised or deactivated, lost the mouse, or a
    // dialog or popup took over: nothing held on it is current any more.
    void PerderVentana();

    // Either mode: a mode switch, the output switched. All off, the manual
    // turn released.
    void CambiarModo(bool manual);
    void CambiarSalida();
    // The operator's emergency stop: all off at once, and held until they
    // drive again: a new press in manual mode; in headset mode a drive
    // decided after one that was not (a new clench after a neutral state).
    void Emergencia();

    TOrdenVigente Vigente(std::int64_t ahora) const;

private:
    bool Bloqueado(std::int64_t ahora) const;

    bool FManual = true;
    // Headset mode.
    bool FEnEjecucion = false;
    bool FAlDia = true;
    bool FEnlacePerdido = false;
    std::int64_t FUltimoPaso = 0;
    std::int64_t FUltimoEvento = 0;
    TOrdenVigente FDecidida;
    bool FRetenida = false; // an emergency stop holds until a non-drive decision
    // Manual mode.
    TDireccion FFlecha = dirNinguna;
    TGiro FGiroManual = giroNinguno;
};
