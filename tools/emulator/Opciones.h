// Command-line options of gedanko-emulador.
#pragma once

#include <cstdint>
#include <string>

namespace emulador {

class TOpciones {
public:
    // False with Error() set when an option is unknown or its value wrong.
    bool Leer(int argc, const char* const* argv);
    const std::string& Error() const { return FError; }
    static std::string Uso();

    std::string Direccion = "127.0.0.1";
    std::uint16_t Puerto = 1726; // 0: the system picks a free port
    std::string Escenario; // empty: the built-in demo
    double Tasa = 32; // EmoStates per second
    bool Bucle = false;
    bool Ayuda = false;

private:
    std::string FError;
};

} // namespace emulador
