// The timestamping port library: exports Out32 like the program's own port
// library and keeps every call in memory for the bench.
#include "PuertoSellado.h"

#include <chrono>
#include <memory>

namespace {

std::unique_ptr<TSelloPuerto[]> Sellos;
std::size_t Capacidad = 0;
std::size_t Num = 0;
std::size_t Perdidos = 0;

} // namespace

void ReservarPuerto(std::size_t capacidad)
{
    Sellos = std::make_unique<TSelloPuerto[]>(capacidad);
    Capacidad = capacidad;
    Num = 0;
    Perdidos = 0;
}

const TSelloPuerto* SellosPuerto()
{
    return Sellos.get();
}
std::size_t NumSellosPuerto()
{
    return Num;
}
std::size_t PerdidosPuerto()
{
    return Perdidos;
}

extern "C" PUERTO_API void Out32(short puerto, short dato)
{
    const std::int64_t ahora
        = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
              .count();
    if (Num == Capacidad) {
        ++Perdidos;
        return;
    }
    Sellos[Num++] = {ahora, static_cast<std::uint16_t>(puerto), static_cast<std::uint16_t>(dato)};
}
