#include "FrescuraOrden.h"

void TFrescuraOrden::IniciarEjecucion(std::int64_t ahora)
{
    FEnEjecucion = true;
    FRetenida = false;
    FAlDia = true;
    FEnlacePerdido = false;
    FUltimoPaso = ahora;
    FUltimoEvento = ahora;
    FDecidida = {};
}

void TFrescuraOrden::TerminarEjecucion()
{
    FEnEjecucion = false;
    FRetenida = false;
    FDecidida = {};
}

void TFrescuraOrden::Paso(std::int64_t ahora)
{
    if (ahora - FUltimoPaso > PausaMaxima)
        Detener();
    FUltimoPaso = ahora;
}

void TFrescuraOrden::ColaVacia()
{
    FAlDia = true;
}

void TFrescuraOrden::EventoLeido(std::int64_t ahora)
{
    FUltimoEvento = ahora;
    FEnlacePerdido = false;
}

void TFrescuraOrden::Decidir(TDireccion direccion, TGiro giro)
{
    // After an emergency stop, a clench still held (current or not) does not
    // drive; the first decision without one ends the hold.
    if (FRetenida)
        FRetenida = TOrdenVigente {direccion, giro}.Mueve();
    FDecidida = {FAlDia && !FRetenida ? direccion : dirNinguna, giro};
}

void TFrescuraOrden::Detener()
{
    FAlDia = false;
    FDecidida.Direccion = dirNinguna;
}

bool TFrescuraOrden::PerderEnlace()
{
    FAlDia = false;
    FDecidida = {};
    const bool nuevo = !FEnlacePerdido;
    FEnlacePerdido = true;
    return nuevo;
}

bool TFrescuraOrden::Silencio(std::int64_t ahora)
{
    if (!FDecidida.Mueve() || ahora - FUltimoEvento < SilencioMaximo)
        return false;
    Detener();
    return true;
}

void TFrescuraOrden::PulsarFlecha(TDireccion direccion)
{
    FFlecha = direccion;
}

void TFrescuraOrden::SoltarFlecha()
{
    FFlecha = dirNinguna;
}

void TFrescuraOrden::FijarGiroManual(TGiro giro)
{
    FGiroManual = giro;
}

void TFrescuraOrden::PerderVentana()
{
    FFlecha = dirNinguna;
    FGiroManual = giroNinguno;
}

void TFrescuraOrden::CambiarModo(bool manual)
{
    FManual = manual;
    PerderVentana();
    FDecidida = {};
}

void TFrescuraOrden::CambiarSalida()
{
    PerderVentana();
}

void TFrescuraOrden::Emergencia()
{
    PerderVentana();
    FDecidida = {};
    FRetenida = FEnEjecucion;
}

// A loop that stands still (a modal dialog, a blocking step, a stopped
// process) or an engine gone silent no longer decides forward or backward.
bool TFrescuraOrden::Bloqueado(std::int64_t ahora) const
{
    return ahora - FUltimoPaso > PausaMaxima || ahora - FUltimoEvento >= SilencioMaximo;
}

TOrdenVigente TFrescuraOrden::Vigente(std::int64_t ahora) const
{
    if (FManual)
        return {FFlecha, FGiroManual};
    if (!FEnEjecucion)
        return {};
    TOrdenVigente orden = FDecidida;
    if (Bloqueado(ahora))
        orden.Direccion = dirNinguna;
    return orden;
}
