// The bare control loop: poll, connection reads, drive decision and port
// write, with no window, as the reference for the window's cost.
#pragma once

#include "MotorGuion.h"

class TMedidaDesnuda {
public:
    // Runs the loop for the given time and prints its figures; returns the
    // exit status. With esperar, a poll that reads nothing waits 1 ms, as the
    // program's loop does, instead of polling again at once.
    static int Ejecutar(TModoGuion modo, double estadosPorSegundo, double segundos, bool esperar,
                        std::uint32_t estadosPorOrden);
};
