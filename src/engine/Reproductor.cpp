// Scenario player: merges the scenario's lines and the steady EmoState
// slots into one stream, in time order.
#include "Reproductor.h"

#include "edk.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace edk {

namespace {

    // Keeps slot indices far from overflow whatever clock the caller passes.
    constexpr double AhoraMaximo = 1e12;

} // namespace

double TReproductor::TMagnitud::Valor(double t) const
{
    if (t >= Fin || Fin <= Inicio)
        return Hasta;
    if (t <= Inicio)
        return Desde;
    return Desde + (Hasta - Desde) * (t - Inicio) / (Fin - Inicio);
}

void TReproductor::TMagnitud::Fijar(double t, double destino, double rampa)
{
    Desde = Valor(t);
    Hasta = destino;
    Inicio = t;
    Fin = t + rampa;
}

TReproductor::TReproductor(const TEscenario& escenario, double estadosPorSegundo, bool enBucle)
    : FEscenario(escenario),
      FTasa(std::isfinite(estadosPorSegundo) && estadosPorSegundo > 0 ? std::min(estadosPorSegundo, 1e4)
                                                                      : EstadosPorSegundo),
      FEnBucle(enBucle),
      FVuelta(std::max(escenario.Duracion(), VueltaMinima))
{
}

void TReproductor::Avanzar(double ahora, std::vector<TEvento>& salida)
{
    if (FTerminado || !(ahora >= 0))
        return;
    ahora = std::min(ahora, AhoraMaximo);

    // Catch up after a long pause: skip whole laps, then stale EmoStates.
    const double desde = ahora - RetrasoMaximo;
    if (FEnBucle && desde > 0) {
        const auto vuelta = static_cast<long long>(std::floor(desde / FVuelta));
        if (vuelta > FNumeroVuelta) {
            FNumeroVuelta = vuelta;
            FOrden = 0;
        }
    }
    if (desde > 0)
        FEstado = std::max(FEstado, static_cast<long long>(std::ceil(desde * FTasa)));

    const std::vector<TOrden>& ordenes = FEscenario.Ordenes();
    const double infinito = std::numeric_limits<double>::infinity();
    while (true) {
        const double inicioVuelta = FEnBucle ? static_cast<double>(FNumeroVuelta) * FVuelta : 0.0;
        const double tOrden = FOrden < ordenes.size() ? inicioVuelta + ordenes[FOrden].Tiempo : infinito;
        const double tFin = FEnBucle ? inicioVuelta + FVuelta : FEscenario.Duracion();
        const double tEstado = FEscenario.EstadosMarcados() ? infinito : static_cast<double>(FEstado) / FTasa;

        if (tOrden <= ahora && tOrden <= tEstado) {
            Aplicar(ordenes[FOrden], tOrden, salida);
            ++FOrden;
            continue;
        }
        // A lap ends before the EmoState of the same moment; a single play
        // ends after it.
        if (FOrden >= ordenes.size() && tFin <= ahora && (FEnBucle ? tFin <= tEstado : tFin < tEstado)) {
            if (!FEnBucle) {
                FTerminado = true;
                return;
            }
            ++FNumeroVuelta;
            FOrden = 0;
            continue;
        }
        if (tEstado <= ahora) {
            if (FCasco)
                salida.push_back(Evento(EE_EmoStateUpdated, FUsuario, tEstado));
            ++FEstado;
            continue;
        }
        return;
    }
}

double TReproductor::Proximo() const
{
    const double infinito = std::numeric_limits<double>::infinity();
    if (FTerminado)
        return infinito;
    const std::vector<TOrden>& ordenes = FEscenario.Ordenes();
    const double inicioVuelta = FEnBucle ? static_cast<double>(FNumeroVuelta) * FVuelta : 0.0;
    const double tOrden = FOrden < ordenes.size() ? inicioVuelta + ordenes[FOrden].Tiempo : infinito;
    const double tFin = FEnBucle ? inicioVuelta + FVuelta : FEscenario.Duracion();
    const double tEstado = FCasco && !FEscenario.EstadosMarcados() ? static_cast<double>(FEstado) / FTasa : infinito;
    return std::min({tOrden, tFin, tEstado});
}

void TReproductor::Aplicar(const TOrden& orden, double t, std::vector<TEvento>& salida)
{
    using C = TOrden::TClase;
    switch (orden.Clase) {
    case C::Cognitiva:
        FBase.AccionCognitiva = orden.Accion;
        FPotenciaCognitiva.Fijar(t, orden.Valor, orden.Rampa);
        break;
    case C::Expresiva:
        FBase.AccionExpresiva = orden.Accion;
        FPotenciaExpresiva.Fijar(t, orden.Valor, orden.Rampa);
        break;
    case C::Senal:
        FBase.Senal = orden.A;
        break;
    case C::Bateria:
        FBase.Bateria = orden.A;
        FBase.BateriaMax = orden.B;
        break;
    case C::Contactos:
        FBase.Contactos = orden.Contactos;
        break;
    case C::Giro:
        FGiroX.Fijar(t, orden.A, orden.Rampa);
        FGiroY.Fijar(t, orden.B, orden.Rampa);
        break;
    case C::Alta:
        FCasco = true;
        FUsuario = orden.Usuario;
        salida.push_back(Evento(EE_UserAdded, FUsuario, t));
        break;
    case C::Baja:
        FCasco = false;
        salida.push_back(Evento(EE_UserRemoved, orden.Usuario, t));
        break;
    case C::GiroCalibrado:
        salida.push_back(Evento(TipoInternoGiroCalibrado, FUsuario, t));
        break;
    case C::GiroSinCalibrar:
        salida.push_back(Evento(TipoInternoGiroSinCalibrar, FUsuario, t));
        break;
    case C::Evento:
        salida.push_back(Evento(orden.A, orden.ConUsuario ? orden.Usuario : FUsuario, t));
        break;
    case C::Estado:
        if (FCasco)
            salida.push_back(Evento(EE_EmoStateUpdated, FUsuario, t));
        break;
    }
}

TEstadoEmo TReproductor::EstadoEn(double t) const
{
    TEstadoEmo estado = FBase;
    estado.Tiempo = static_cast<float>(t);
    estado.PotenciaCognitiva = static_cast<float>(std::clamp(FPotenciaCognitiva.Valor(t), 0.0, 1.0));
    estado.PotenciaExpresiva = static_cast<float>(std::clamp(FPotenciaExpresiva.Valor(t), 0.0, 1.0));
    estado.GiroX = static_cast<int>(std::lround(FGiroX.Valor(t)));
    estado.GiroY = static_cast<int>(std::lround(FGiroY.Valor(t)));
    return estado;
}

TEvento TReproductor::Evento(int tipo, std::uint32_t usuario, double t) const
{
    TEvento evento;
    evento.Tipo = tipo;
    evento.Usuario = usuario;
    evento.Estado = EstadoEn(t);
    return evento;
}

} // namespace edk
