// Runs of the real main window: headset mode, "EmoComposer", port output on
// and, on request, "Visualizar Estados", all through the window's own
// actions; "Conectar" runs the control loop until a timer presses
// "Desconectar".
#pragma once

#include "MotorGuion.h"

class TMedidaVentana {
public:
    // Prints the latency and throughput of the run and the processor time it
    // took; returns the exit status. The script holds each command for
    // estadosPorOrden EmoStates.
    static int Ejecutar(TModoGuion modo, double estadosPorSegundo, double segundos, bool estados,
                        std::uint32_t estadosPorOrden);
};
