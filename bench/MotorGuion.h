// Control of the scripted engine (libedk_guion.so), a stand-in for the
// headset engine that makes EmoStates available at a set rate, as fast as
// they are polled, or never, and stamps each one. Every EmoState drives: good
// signal, every contact at 4, still gyro. The states come in runs of a set
// length that alternate: clenching (command byte 0x01), at a power that moves
// with every state as a headset's does, and neutral (0x00). Runs of one
// change the byte with every state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#define GUION_API __attribute__((visibility("default")))

enum class TModoGuion {
    Ritmo, // EmoState i becomes available at connection + (i + 1) / rate
    Inundacion, // a new EmoState at every poll
    Silencio, // connects, then sends no event at all
};

// Moments (steady_clock, nanoseconds since its epoch) of one EmoState.
struct TSellosEstado {
    std::int64_t Disponible; // first due: the scheduled time, or the poll at a flood
    std::int64_t Entregado; // handed out by EE_EngineGetNextEvent
};

// Takes effect at the next connection. Stamps of at most `capacidad` states
// are kept (preallocated here, so recording allocates nothing).
// `estadosPorOrden` is the length of each run of one command.
GUION_API void ConfigurarGuion(TModoGuion modo, double estadosPorSegundo, std::size_t capacidad,
                               std::uint32_t estadosPorOrden = 1);
GUION_API const std::vector<TSellosEstado>& SellosGuion();
// EmoStates handed out since the last connection, recorded or not.
GUION_API std::uint64_t EstadosEntregadosGuion();
// The byte an EmoState must produce on the port.
GUION_API std::uint16_t OrdenEsperadaGuion(std::uint64_t indice);
GUION_API std::int64_t AhoraGuion();
