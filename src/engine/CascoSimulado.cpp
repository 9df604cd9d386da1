// Simulated headset: refills its buffer from the player whenever the engine
// has drained it, so events become due exactly as the clock advances.
#include "CascoSimulado.h"

#include "edk.h"

namespace edk {

TCascoSimulado::TCascoSimulado(const TEscenario& escenario, TReloj reloj, bool enBucle)
    : FReloj(reloj ? std::move(reloj) : TReloj(&std::chrono::steady_clock::now)),
      FInicio(FReloj()),
      FReproductor(escenario, EstadosPorSegundo, enBucle)
{
}

int TCascoSimulado::Siguiente(TEvento& evento)
{
    if (FLeidos == FPendientes.size()) {
        FPendientes.clear();
        FLeidos = 0;
        const std::chrono::duration<double> transcurrido = FReloj() - FInicio;
        FReproductor.Avanzar(transcurrido.count(), FPendientes);
        if (FPendientes.empty())
            return EDK_SIN_EVENTOS;
    }
    evento = FPendientes[FLeidos++];
    return EDK_SIN_ERRORES;
}

} // namespace edk
