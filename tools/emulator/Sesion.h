// The playback for one client: its own player from the scenario's start,
// the live state laid over every EmoState, and the protocol lines due.
// The clock comes from the caller, so a session can be replayed exactly.
#pragma once

#include "Escenario.h"
#include "EstadoVivo.h"
#include "Ordenes.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace emulador {

class TSesion {
public:
    TSesion(const edk::TEscenario& escenario, double estadosPorSegundo, bool enBucle);

    // Appends the lines due up to 'ahora' (seconds since the client came).
    // Once a scenario without loop is over, the last EmoState keeps being
    // sent at the same rate while a headset is on, so live changes still reach
    // the client. With 'inmediato' (the live state has just changed), an
    // extra EmoState carries the change at once unless a due one just did.
    void Avanzar(double ahora, const TEstadoVivo& vivo, std::string& salida, bool inmediato = false);

    // Appends the event of a console action (headset on or off, gyro state).
    void Anunciar(TAccionOrden accion, std::string& salida);

    // Events the protocol could not carry and that were left out.
    std::size_t Omitidos() const { return FOmitidos; }

private:
    void Escribir(const edk::TEvento& evento, std::string& salida);
    void Continuar(double ahora, const TEstadoVivo& vivo, std::string& salida);
    void Inmediato(double ahora, const TEstadoVivo& vivo, std::string& salida);
    // Lays the live state over an EmoState served at 'ahora', with the head's
    // movement since the EmoState before it.
    void Vestir(double ahora, const TEstadoVivo& vivo, edk::TEstadoEmo& estado);

    edk::TReproductor FReproductor;
    double FTasa;
    std::vector<edk::TEvento> FEventos;
    edk::TEstadoEmo FUltimo; // last EmoState of the scenario, before the live changes
    bool FCasco = false; // the scenario has a headset on
    std::uint32_t FUsuario = 0;
    double FFin = -1; // moment the scenario was found over
    long long FEstadosTrasFin = 0;
    bool FVisto = false; // an EmoState of the scenario has come
    std::size_t FEstadosEscritos = 0;
    float FTiempoEscrito = 0; // of the last EmoState written
    std::size_t FOmitidos = 0;
    // The head's movement at the last EmoState served, when, and the turn
    // rate it was served with (degrees a second).
    std::optional<double> FGradosServidos;
    double FTiempoServido = 0;
    double FVelocidadServida = 0;
};

} // namespace emulador
