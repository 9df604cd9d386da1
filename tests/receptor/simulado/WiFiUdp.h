// The UDP socket of the stand-in Arduino API: datagrams come from the test.
#pragma once

#include "Arduino.h"

class WiFiUDP {
public:
    void begin(std::uint16_t) { simulado::Placa().UdpAbierto = true; }
    int parsePacket();
    int read(std::uint8_t* destino, std::size_t capacidad);
    // Answers go to the test's list, from wherever the datagram came.
    std::string remoteIP() { return "192.168.4.2"; }
    std::uint16_t remotePort() { return 50000; }
    int beginPacket(const std::string&, std::uint16_t)
    {
        simulado::Placa().Respuestas.emplace_back();
        return 1;
    }
    std::size_t write(const std::uint8_t* bytes, std::size_t cuantos)
    {
        simulado::Placa().Respuestas.back().insert(simulado::Placa().Respuestas.back().end(), bytes, bytes + cuantos);
        return cuantos;
    }
    int endPacket() { return 1; }
};
