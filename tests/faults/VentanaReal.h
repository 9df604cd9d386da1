// A whole main window over the real engine library or the test engine (see
// VentanaPrueba), on the real clock.
#pragma once

#include "VentanaPrueba.h"

// Headset mode with the chosen engine (EmoComposer on 127.0.0.1 and the given
// port) and port output on.
class VentanaReal : public VentanaPrueba {
protected:
    void Preparar(int motor, std::uint16_t puerto = 0)
    {
        ModoCasco(motor, puerto);
        ActivarSalida();
    }
};
