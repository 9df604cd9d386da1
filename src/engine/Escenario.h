// A scenario: the timeline of a simulated headset, read from a small
// line-based text format (see docs/escenario.md).
#pragma once

#include "Modelo.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace edk {

// Longest scenario text accepted.
constexpr std::size_t TamanoMaximoEscenario = 1024 * 1024;
// Latest moment a scenario may name, in seconds.
constexpr double TiempoMaximoEscenario = 1e6;

// One line of the timeline.
struct TOrden {
    enum class TClase {
        Cognitiva, // Accion, Valor (power), Rampa
        Expresiva, // Accion, Valor (power), Rampa
        Senal, // A
        Bateria, // A level, B maximum
        Contactos, // Contactos
        Giro, // A horizontal, B vertical, Rampa
        Alta, // Usuario: a headset is put on
        Baja, // Usuario: the headset is taken off
        GiroCalibrado,
        GiroSinCalibrar,
        Evento, // A type, Usuario (when ConUsuario)
        Estado, // an EmoState at this moment (a recording)
    };
    double Tiempo = 0;
    TClase Clase = TClase::Evento;
    std::uint32_t Accion = 0;
    double Valor = 0;
    double Rampa = 0; // seconds to reach the new value; 0 = at once
    int A = 0;
    int B = 0;
    std::array<int, NumCanales> Contactos {};
    std::uint32_t Usuario = 0;
    bool ConUsuario = false;
    std::size_t Linea = 0;
};

class TEscenario {
public:
    // Reads a whole scenario. On failure the previous content stays and
    // Error() lists the faults, one "línea N: ..." per line.
    bool Leer(std::string_view texto);
    bool LeerFichero(const std::string& ruta);
    const std::string& Error() const { return FError; }

    // Seconds: the moment of 'fin', else of the last line.
    double Duracion() const { return FDuracion; }
    const std::vector<TOrden>& Ordenes() const { return FOrdenes; }
    // EmoStates come only at the moments the scenario names with 'estado'
    // (a recording), not at the steady rate.
    bool EstadosMarcados() const { return FEstadosMarcados; }

    // The built-in demo, the local engine's simulated headset.
    static const TEscenario& Demo();

private:
    std::vector<TOrden> FOrdenes;
    double FDuracion = 0;
    bool FEstadosMarcados = false;
    std::string FError;
};

} // namespace edk

// The player comes with the scenario.
#include "Reproductor.h"
