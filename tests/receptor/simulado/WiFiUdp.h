// The UDP socket of the stand-in Arduino API: datagrams come from the test.
#pragma once

#include "Arduino.h"

class WiFiUDP {
public:
    void begin(std::uint16_t) { simulado::Placa().UdpAbierto = true; }
    int parsePacket();
    int read(std::uint8_t* destino, std::size_t capacidad);
};
