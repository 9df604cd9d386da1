// The OSC input of the emulator: each received packet is checked, mapped
// through a TMapaOsc and laid on the live state. It also holds pulses for
// their hold time, sums turn rates into the head's movement and watches the
// stream's freshness.
// No input or output of its own and the clock comes from the caller, so it
// is tested without sockets or sleeps.
#pragma once

#include "EstadoVivo.h"
#include "MapaOsc.h"
#include "Ordenes.h"

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace emulador {

// Largest UDP packet taken; a bigger one (an oversized bundle) is dropped whole.
constexpr std::size_t TamanoMaximoPaqueteOsc = 8192;
// Without a mapped message for this long the state reports no wireless signal.
constexpr double SilencioOscMaximo = 0.5;
// A warning about one address is repeated at most once in this many seconds.
constexpr double IntervaloAvisosOsc = 1.0;
// Messages of addresses the map has no rule for are summed up at most this often.
constexpr double IntervaloResumenOsc = 60.0;

// One argument of a message: its OSC type tag and, when it is a number, its value.
struct TArgumentoOsc {
    char Tipo = 'i';
    double Valor = 0;
};

struct TMensajeOsc {
    std::string Direccion;
    std::vector<TArgumentoOsc> Argumentos;
};

class TEntradaOsc {
public:
    TEntradaOsc(const TMapaOsc& mapa, double ahora);

    // One UDP packet, a message or a bundle. True when a change must be served
    // at once (TEstadoVivo::MismaDeteccion); a turn rate never is.
    bool Paquete(const void* datos, std::size_t tamano, double ahora, TEstadoVivo& vivo);
    // One decoded message; a message that does not fit its rules changes nothing.
    bool Mensaje(std::string_view direccion, const std::vector<TArgumentoOsc>& argumentos, double ahora,
                 TEstadoVivo& vivo);
    // Ends the pulses whose hold is over, brings the head's movement up to
    // 'ahora' and checks the stream's freshness. True as for Paquete.
    bool Revisar(double ahora, TEstadoVivo& vivo);

    bool Fresca() const { return FFresca; }
    // Headset on or off to announce to the clients, and console lines, since
    // the last call.
    std::vector<TAccionOrden> TomarAcciones() { return std::exchange(FAcciones, {}); }
    std::vector<std::string> TomarAvisos() { return std::exchange(FAvisos, {}); }

private:
    // Decode a packet's messages into FMensajes; false (warned) when any is bad.
    bool Elementos(const unsigned char* datos, std::size_t tamano, int profundidad, double ahora);
    bool Decodificar(const unsigned char* datos, std::size_t tamano, double ahora);
    bool Aplicable(std::string_view direccion, const std::vector<TArgumentoOsc>& argumentos, double ahora);
    // What a message of a mapped address lacks, if anything.
    std::optional<std::string> Falta(std::string_view direccion, const std::vector<TArgumentoOsc>& argumentos) const;
    void SinRegla(std::string_view direccion);
    void Aplicar(std::size_t indice, double valor, double ahora, TEstadoVivo& vivo);
    void Fijar(std::size_t indice, double valor, double ahora, TEstadoVivo& vivo);
    void AplicarSenal(int senal, TEstadoVivo& vivo);
    void Mover(double ahora, TEstadoVivo& vivo);
    void Reposar(double ahora, TEstadoVivo& vivo);
    void Avisar(std::string_view clave, const std::string& texto, double ahora);

    const TMapaOsc& FMapa;
    std::vector<bool> FConSensor; // channels some contact rule names
    std::vector<std::optional<double>> FFinRetencion; // per rule: when its pulse ends
    // The head's movement: its sum in degrees up to FGradosHasta, the turn
    // rate last received (degrees a second), when, and its noise band.
    double FGrados = 0;
    double FGradosHasta;
    double FVelocidad = 0;
    std::optional<double> FTiempoVelocidad;
    double FBanda = 0;
    std::optional<int> FSenal; // last signal the stream gave
    double FUltimo; // time of the last mapped message
    bool FFresca = true;
    std::vector<TMensajeOsc> FMensajes; // of the packet being read
    std::map<std::string, double, std::less<>> FUltimoAviso;
    std::set<std::string, std::less<>> FDireccionesSinRegla; // already named
    std::size_t FSinRegla = 0; // messages without a rule since the last summary
    double FUltimoResumen;
    std::vector<TAccionOrden> FAcciones;
    std::vector<std::string> FAvisos;
};

} // namespace emulador
