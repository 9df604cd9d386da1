// Control of the timestamping port library (a libinpout32.so of the bench's
// own): Out32 appends (steady_clock time, value) to a preallocated array.
#pragma once

#include <cstddef>
#include <cstdint>

#define PUERTO_API __attribute__((visibility("default")))

struct TSelloPuerto {
    std::int64_t Instante; // steady_clock, nanoseconds since its epoch
    std::uint16_t Puerto;
    std::uint16_t Valor;
};

// Empties the record and preallocates room for `capacidad` calls; calls
// beyond it are counted but not kept.
PUERTO_API void ReservarPuerto(std::size_t capacidad);
PUERTO_API const TSelloPuerto* SellosPuerto();
PUERTO_API std::size_t NumSellosPuerto();
PUERTO_API std::size_t PerdidosPuerto();
