// The bare control loop: poll, connection reads, drive decision and port
// write, with no window, as the reference for the window's cost.
#pragma once

#include "MotorGuion.h"

class TMedidaDesnuda {
public:
    // Runs the loop for the given time and prints its figures; returns the exit status.
    static int Ejecutar(TModoGuion modo, double estadosPorSegundo, double segundos);
};
