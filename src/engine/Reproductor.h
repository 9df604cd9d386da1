// Plays a scenario against a clock the caller supplies: EmoStates at a
// steady rate while a headset is on, the other events at their moments.
#pragma once

#include "Escenario.h"
#include "Modelo.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace edk {

class TReproductor {
public:
    // A caller that falls behind by more than this many seconds loses the
    // older EmoStates (and, when looping, whole laps), so a long pause never
    // floods the queue with stale readings.
    static constexpr double RetrasoMaximo = 1.0;
    // A looping scenario starts a new lap every Duracion seconds, but never
    // more often than this.
    static constexpr double VueltaMinima = 1.0;

    TReproductor(const TEscenario& escenario, double estadosPorSegundo, bool enBucle);

    // Appends every event due up to 'ahora' (seconds since the start, the
    // caller's clock). Events at the same moment come in the scenario's
    // order, before that moment's EmoState.
    void Avanzar(double ahora, std::vector<TEvento>& salida);
    bool Terminado() const { return FTerminado; }
    // The earliest moment at which Avanzar may give an event again (a lap's
    // end counts, though it gives none itself); infinity once a single play
    // is over.
    double Proximo() const;

private:
    // A value that may move linearly to a new target.
    struct TMagnitud {
        double Desde = 0;
        double Hasta = 0;
        double Inicio = 0;
        double Fin = 0;
        double Valor(double t) const;
        void Fijar(double t, double destino, double rampa);
    };

    void Aplicar(const TOrden& orden, double t, std::vector<TEvento>& salida);
    TEstadoEmo EstadoEn(double t) const;
    TEvento Evento(int tipo, std::uint32_t usuario, double t) const;

    TEscenario FEscenario;
    double FTasa;
    bool FEnBucle;
    double FVuelta; // lap length when looping
    long long FNumeroVuelta = 0;
    std::size_t FOrden = 0; // next line of the current lap
    long long FEstado = 0; // index of the next EmoState slot
    bool FTerminado = false;
    TEstadoEmo FBase; // values that change at once
    TMagnitud FPotenciaCognitiva, FPotenciaExpresiva, FGiroX, FGiroY;
    bool FCasco = false;
    std::uint32_t FUsuario = 0;
};

} // namespace edk
