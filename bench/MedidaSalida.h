// Latency of the frame destinations: from the command's decision (the call
// to TActuador::Mover) to the output change that gedanko-receptor prints,
// over a pseudo-terminal and over UDP loopback. Both stamp with the system's
// monotonic clock.
#pragma once

class TMedidaSalida {
public:
    // Sends `ordenes` commands on each link and prints p50, p99 and max (a
    // line per link on the error output, the RESULTADO line on standard
    // output); returns the exit status.
    static int Ejecutar(int ordenes);
};
