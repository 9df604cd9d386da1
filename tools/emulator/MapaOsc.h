// A mapping from OSC messages to the fields of the served headset state,
// read from a small line-based text format (see docs/osc.md): one line per
// OSC address and argument, with a linear scale and offset, a threshold and
// a hold time for values that come as single pulses.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace emulador {

// Longest mapping text and most rules accepted.
constexpr std::size_t TamanoMaximoMapa = 64 * 1024;
constexpr std::size_t ReglasMaximas = 256;
// Highest argument index a rule may read, and longest OSC address.
constexpr std::size_t ArgumentoMaximo = 63;
constexpr std::size_t DireccionOscMaxima = 256;

enum class TDestinoOsc {
    Avance, // clench power 0..1
    Retroceso, // pull power 0..1
    Giro, // head turn -1..1
    GiroVelocidad, // head turn rate in degrees a second: each EmoState carries the movement
    Contacto, // contact quality 0..4 of the channels listed
    Senal, // wireless signal 0..2
    Bateria, // battery level
    BateriaMaxima, // battery maximum
    Casco, // headset on from the threshold up, else off
};

struct TReglaOsc {
    std::string Direccion;
    std::size_t Argumento = 0;
    TDestinoOsc Destino = TDestinoOsc::Avance;
    std::vector<int> Canales; // for Contacto
    double Escala = 1;
    double Desplazamiento = 0;
    // Powers and turns below it (in magnitude) count as 0; for turn rates it
    // is the noise band (a still head, and a steady turn's jitter); the
    // headset is on from it up.
    double Umbral = 0;
    double Retencion = 0; // seconds a pulse stays on; 0: until the next value
    std::size_t Linea = 0;

    // The argument as the target's value: scale and offset applied.
    double Valor(double argumento) const { return argumento * Escala + Desplazamiento; }
};

class TMapaOsc {
public:
    // Reads a whole map. On failure the previous content stays and Error()
    // lists the faults, one "línea N: ..." per line.
    bool Leer(std::string_view texto);
    bool LeerFichero(const std::string& ruta);
    // A built-in map by name ("muse", "generico", "openbci"), or a file.
    bool Cargar(const std::string& nombreOFichero);
    const std::string& Error() const { return FError; }

    const std::vector<TReglaOsc>& Reglas() const { return FReglas; }
    // Quality of the channels no rule names, set whenever a contact rule
    // applies; none leaves them as they are.
    std::optional<int> OtrosContactos() const { return FOtrosContactos; }
    bool Contiene(std::string_view direccion) const;

    static std::string_view TextoIncorporado(std::string_view nombre); // empty when unknown

private:
    std::vector<TReglaOsc> FReglas;
    std::optional<int> FOtrosContactos;
    std::string FError;
};

} // namespace emulador
