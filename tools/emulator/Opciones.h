// Command-line options of gedanko-emulador.
#pragma once

#include "Modelo.h"
#include "ServidorEmulador.h"
#include <cstdint>
#include <optional>
#include <set>
#include <string>

namespace emulador {

class TOpciones {
public:
    // False with Error() set when an option is unknown or its value wrong.
    bool Leer(int argc, const char* const* argv);
    const std::string& Error() const { return FError; }
    static std::string Uso();

    std::string Direccion = DireccionEmuladorPorDefecto;
    std::uint16_t Puerto = PuertoEmuladorPorDefecto; // 0: the system picks a free port
    std::string Escenario; // empty: the built-in demo
    double Tasa = edk::EstadosPorSegundo; // EmoStates per second
    bool Bucle = false;
    std::optional<std::uint16_t> PuertoOsc; // UDP port of the OSC input; 0: a free one
    std::string Mapa = "generico"; // a built-in map's name or a file
    std::string Grabar; // empty: no recording
    std::optional<std::uint32_t> OscDesde; // the one IPv4 address (host order) OSC is taken from
    std::string OscDesdeTexto;
    bool Ayuda = false;

private:
    bool FMapaDado = false;
    std::set<std::string, std::less<>> FVistas; // options already given
    std::string FError;
};

} // namespace emulador
