// Latency of the emulator's OSC input: from an OSC packet sent over loopback
// to the EmoState line that carries its value arriving on the TCP wire.
#pragma once

#include <string>

class TMedidaOsc {
public:
    // Starts gedanko-emulador from 'carpetaBin' at one EmoState per second,
    // so every line measured is a change served at once, sends 'muestras'
    // packets and prints the figures; returns the exit status.
    static int Ejecutar(const std::string& carpetaBin, int muestras);
};
