// Simulated headset: refills its buffer from the player whenever the engine
// has drained it, so events become due exactly as the clock advances.
#include "CascoSimulado.h"

#include "edk.h"

#include <algorithm>
#include <cmath>
#include <sys/timerfd.h>

namespace edk {

TCascoSimulado::TCascoSimulado(const TEscenario& escenario, TReloj reloj, bool enBucle)
    : FReloj(reloj ? std::move(reloj) : TReloj(&std::chrono::steady_clock::now)),
      FInicio(FReloj()),
      FReproductor(escenario, EstadosPorSegundo, enBucle),
      FTemporizador(::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC))
{
}

// The timer runs on the system's monotonic clock, the caller's clock only
// gives how far away the next event is: with a clock of its own the timer
// merely wakes the caller at some other moment, which is harmless.
void TCascoSimulado::Armar()
{
    if (FTemporizador.Fd() < 0)
        return;
    using namespace std::chrono;
    itimerspec valor {};
    const double proximo = FReproductor.Proximo();
    if (std::isfinite(proximo)) {
        const auto momento = FInicio + ceil<steady_clock::duration>(duration<double>(proximo));
        // Re-arming with zero would stop the timer: an event already due
        // fires at once instead.
        const auto falta = std::max(ceil<nanoseconds>(momento - FReloj()), nanoseconds(1));
        valor.it_value.tv_sec = static_cast<time_t>(falta.count() / 1'000'000'000);
        valor.it_value.tv_nsec = static_cast<long>(falta.count() % 1'000'000'000);
    }
    // Setting the timer also clears an expiry not yet read.
    ::timerfd_settime(FTemporizador.Fd(), 0, &valor, nullptr);
}

int TCascoSimulado::Siguiente(TEvento& evento)
{
    if (FLeidos == FPendientes.size()) {
        FPendientes.clear();
        FLeidos = 0;
        const std::chrono::duration<double> transcurrido = FReloj() - FInicio;
        FReproductor.Avanzar(transcurrido.count(), FPendientes);
        if (FPendientes.empty()) {
            Armar();
            return EDK_SIN_EVENTOS;
        }
    }
    evento = FPendientes[FLeidos++];
    return EDK_SIN_ERRORES;
}

} // namespace edk
