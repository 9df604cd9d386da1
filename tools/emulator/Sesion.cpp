#include "Sesion.h"

#include "Protocolo.h"
#include "edk.h"

#include <algorithm>
#include <cmath>

namespace emulador {

namespace {
    // Like the player, a session that falls behind drops stale EmoStates.
    constexpr double RetrasoMaximo = 1.0;
} // namespace

TSesion::TSesion(const edk::TEscenario& escenario, double estadosPorSegundo, bool enBucle)
    : FReproductor(escenario, estadosPorSegundo, enBucle),
      FTasa(estadosPorSegundo)
{
}

void TSesion::Avanzar(double ahora, const TEstadoVivo& vivo, std::string& salida, bool inmediato)
{
    const std::size_t escritos = FEstadosEscritos;
    FEventos.clear();
    FReproductor.Avanzar(ahora, FEventos);
    for (edk::TEvento& e : FEventos) {
        FUsuario = e.Usuario;
        if (e.Tipo == EE_UserAdded)
            FCasco = true;
        else if (e.Tipo == EE_UserRemoved)
            FCasco = false;
        if (e.Tipo == EE_EmoStateUpdated) {
            FCasco = true;
            FVisto = true;
            FUltimo = e.Estado;
            Vestir(ahora, vivo, e.Estado);
        }
        // With the headset taken off at the console, the scenario's own
        // headset events and readings are held back too.
        const bool delCasco = e.Tipo == EE_EmoStateUpdated || e.Tipo == EE_UserAdded || e.Tipo == EE_UserRemoved;
        if (delCasco && !vivo.CascoPuesto())
            continue;
        Escribir(e, salida);
    }
    if (FReproductor.Terminado())
        Continuar(ahora, vivo, salida);
    if (inmediato && FEstadosEscritos == escritos)
        Inmediato(ahora, vivo, salida);
}

void TSesion::Inmediato(double ahora, const TEstadoVivo& vivo, std::string& salida)
{
    if (!FVisto || !FCasco || !vivo.CascoPuesto())
        return;
    // The time runs on the same base as the steady EmoStates: the playback's,
    // or after the end the last EmoState's time plus the time since then.
    const double tiempo = FFin < 0 ? ahora : FUltimo.Tiempo + (ahora - FFin);
    edk::TEvento e;
    e.Tipo = EE_EmoStateUpdated;
    e.Usuario = FUsuario;
    e.Estado = FUltimo;
    e.Estado.Tiempo = std::max(FTiempoEscrito, static_cast<float>(tiempo));
    Vestir(ahora, vivo, e.Estado);
    Escribir(e, salida);
}

void TSesion::Vestir(double ahora, const TEstadoVivo& vivo, edk::TEstadoEmo& estado)
{
    vivo.Aplicar(estado);
    const std::optional<TMovimientoCabeza>& m = vivo.Movimiento();
    if (!m) {
        FGradosServidos.reset();
        FVelocidadServida = 0;
        return;
    }
    // The turn rate since the last EmoState, held while it stays within the
    // noise band of the rate served: sensor noise on a steady turn leaves the
    // served rate as it is, so it never reads as a new movement. A rate
    // within the band of zero is a still head. States served in one pass
    // share the rate.
    if (FGradosServidos && ahora > FTiempoServido) {
        const double medida = (m->Grados - *FGradosServidos) / (ahora - FTiempoServido);
        if (std::fabs(medida) <= m->Banda)
            FVelocidadServida = 0;
        else if (std::fabs(medida - FVelocidadServida) > m->Banda)
            FVelocidadServida = medida;
    }
    if (!FGradosServidos || ahora > FTiempoServido) {
        FGradosServidos = m->Grados;
        FTiempoServido = ahora;
    }
    // Each reading carries the movement of one period of the steady rate,
    // also when it comes early with a change of the detections.
    const double giro = std::round(FVelocidadServida / FTasa * UnidadesGiroPorGrado);
    estado.GiroX = static_cast<int>(std::clamp(giro, double {-edk::GiroMaximo}, double {edk::GiroMaximo}));
}

void TSesion::Continuar(double ahora, const TEstadoVivo& vivo, std::string& salida)
{
    if (FFin < 0)
        FFin = ahora;
    const auto debidos = static_cast<long long>(std::floor((ahora - FFin) * FTasa));
    const long long minimo = debidos - static_cast<long long>(RetrasoMaximo * FTasa);
    if (FEstadosTrasFin < minimo)
        FEstadosTrasFin = minimo;
    for (; FEstadosTrasFin < debidos; ++FEstadosTrasFin) {
        if (!FCasco || !vivo.CascoPuesto())
            continue;
        edk::TEvento e;
        e.Tipo = EE_EmoStateUpdated;
        e.Usuario = FUsuario;
        e.Estado = FUltimo;
        e.Estado.Tiempo = FUltimo.Tiempo + static_cast<float>(static_cast<double>(FEstadosTrasFin + 1) / FTasa);
        Vestir(ahora, vivo, e.Estado);
        Escribir(e, salida);
    }
}

void TSesion::Anunciar(TAccionOrden accion, std::string& salida)
{
    edk::TEvento e;
    e.Usuario = FUsuario;
    switch (accion) {
    case aoPonerCasco:
        e.Tipo = EE_UserAdded;
        break;
    case aoQuitarCasco:
        e.Tipo = EE_UserRemoved;
        break;
    case aoGiroCalibrado:
        e.Tipo = edk::TipoInternoGiroCalibrado;
        break;
    case aoGiroSinCalibrar:
        e.Tipo = edk::TipoInternoGiroSinCalibrar;
        break;
    default:
        return;
    }
    Escribir(e, salida);
}

void TSesion::Escribir(const edk::TEvento& evento, std::string& salida)
{
    std::string linea;
    if (!edk::FormatearEvento(evento, linea)) {
        ++FOmitidos;
        return;
    }
    salida += linea;
    salida += '\n';
    if (evento.Tipo == EE_EmoStateUpdated) {
        ++FEstadosEscritos;
        FTiempoEscrito = evento.Estado.Tiempo;
    }
}

} // namespace emulador
