// Matches each EmoState handed out by the scripted engine to the command byte
// it produced on the port and gives the latency and throughput of a run.
#pragma once

#include "Muestras.h"

#include <cstddef>
#include <cstdint>

struct TResultadoRun {
    TMuestras Latencias; // microseconds, availability to Out32
    std::size_t Estados = 0; // EmoStates handed out
    std::size_t Emparejados = 0;
    std::size_t Erroneos = 0; // matched to a byte other than the one the state must give
    double Segundos = 0; // first hand-out to the last matched Out32
    double Tasa() const { return Segundos > 0 ? double(Emparejados) / Segundos : 0; }
};

class TEmparejamiento {
public:
    // Reads the stamps of the scripted engine and of the port library.
    static TResultadoRun Emparejar();
};
