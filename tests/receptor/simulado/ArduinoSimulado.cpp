#include "Arduino.h"
#include "WiFi.h"
#include "WiFiUdp.h"

#include <algorithm>

TSerieSimulada Serial;
TWifiSimulado WiFi;

namespace simulado {

TPlaca& Placa()
{
    static TPlaca placa;
    return placa;
}

void Reiniciar()
{
    Placa() = TPlaca();
}

namespace {

    void Conducir(TPin& pin, int nivel)
    {
        if (pin.Nivel() != nivel || pin.Historia.empty())
            pin.Historia.push_back({Placa().Ms, nivel});
    }

} // namespace

} // namespace simulado

void pinMode(std::uint8_t numero, std::uint8_t modo)
{
    simulado::TPin& pin = simulado::Placa().Pines[numero];
    pin.Reclamado = true;
    pin.Salida = modo == OUTPUT;
    simulado::Conducir(pin, pin.Salida ? pin.Registro : simulado::Suelto);
}

void digitalWrite(std::uint8_t numero, std::uint8_t nivel)
{
    simulado::TPin& pin = simulado::Placa().Pines[numero];
    if (!pin.Reclamado)
        return;
    pin.Registro = nivel;
    if (pin.Salida)
        simulado::Conducir(pin, nivel);
}

unsigned long millis()
{
    return simulado::Placa().Ms;
}

void delay(unsigned long ms)
{
    simulado::Placa().Ms += static_cast<std::uint32_t>(ms);
}

int TSerieSimulada::read()
{
    auto& serie = simulado::Placa().Serie;
    if (serie.empty())
        return -1;
    const std::uint8_t byte = serie.front();
    serie.pop_front();
    return byte;
}

int WiFiUDP::parsePacket()
{
    simulado::TPlaca& placa = simulado::Placa();
    if (placa.Datagramas.empty())
        return 0;
    placa.Leyendo = placa.Datagramas.front();
    placa.Datagramas.pop_front();
    return static_cast<int>(placa.Leyendo.size());
}

int WiFiUDP::read(std::uint8_t* destino, std::size_t capacidad)
{
    std::vector<std::uint8_t>& leyendo = simulado::Placa().Leyendo;
    const std::size_t n = std::min(capacidad, leyendo.size());
    std::copy_n(leyendo.begin(), n, destino);
    leyendo.erase(leyendo.begin(), leyendo.begin() + static_cast<std::ptrdiff_t>(n));
    return static_cast<int>(n);
}
