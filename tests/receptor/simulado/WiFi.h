// The Wi-Fi part of the stand-in Arduino API (Arduino.h here).
#pragma once

#include "Arduino.h"

enum { WIFI_STA = 1, WIFI_AP = 2 };
enum { WL_IDLE_STATUS = 0, WL_CONNECTED = 3, WL_DISCONNECTED = 6 };

class TWifiSimulado {
public:
    void mode(int) { }
    void begin(const char*, const char*) { ++simulado::Placa().WifiIntentos; }
    void disconnect() { }
    bool softAP(const char*, const char*) { return simulado::Placa().PuntoDeAcceso = true; }
    int status() { return simulado::Placa().WifiConectado ? WL_CONNECTED : WL_DISCONNECTED; }
    std::string localIP() { return "192.168.1.57"; }
    std::string softAPIP() { return "192.168.4.1"; }
    void setSleep(bool) { }
};
extern TWifiSimulado WiFi;
