// The local engine's headset: a scenario played in real time against a
// steady clock taken when the source is created.
#pragma once

#include "Descriptor.h"
#include "Escenario.h"
#include "Modelo.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <vector>

namespace edk {

using TReloj = std::function<std::chrono::steady_clock::time_point()>;

class TCascoSimulado : public TFuenteEventos {
public:
    TCascoSimulado(const TEscenario& escenario, TReloj reloj, bool enBucle = true);
    int Siguiente(TEvento& evento) override;
    int Despertador() const override { return FTemporizador.Fd(); }

private:
    // Sets the timer to the player's next event, or stops it when none is left.
    void Armar();

    TReloj FReloj;
    std::chrono::steady_clock::time_point FInicio;
    TReproductor FReproductor;
    std::vector<TEvento> FPendientes;
    std::size_t FLeidos = 0;
    TDescriptor FTemporizador;
};

} // namespace edk
