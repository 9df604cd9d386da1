// Records what the emulator serves as a scenario (docs/escenario.md), so that
// "--escenario" replays it with the same states at the same times. Each
// served line becomes one complete record written at once, before a closing
// 'fin': a recording cut short by a signal or a full disk is still a valid
// scenario.
#pragma once

#include "Descriptor.h"
#include "Modelo.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace emulador {

class TGrabadora {
public:
    // Creates or empties the file; false with Error() set.
    bool Abrir(const std::string& ruta);
    bool Activa() const { return FFichero.Fd() >= 0; }
    const std::string& Error() const { return FError; }

    // One protocol line as served. False once the file could not take it:
    // the record is undone and the recording stops, Error() says why.
    bool Linea(std::string_view linea);
    void Cerrar() { FFichero.Cerrar(); }

    // The scenario lines for one EmoState: only what changed since 'anterior'.
    static std::string Registro(double tiempo, const edk::TEstadoEmo& estado, const edk::TEstadoEmo* anterior);

private:
    bool Escribir(const std::string& registro);
    bool EscribirEn(off_t posicion, const std::string& texto);
    std::string Evento(const edk::TEvento& evento);

    TDescriptor FFichero;
    off_t FTamano = 0; // up to the closing 'fin'
    std::string FFin; // the closing 'fin' line on disk
    double FTiempo = 0; // of the last record: times never go back
    std::optional<edk::TEstadoEmo> FAnterior;
    bool FCasco = false;
    std::uint32_t FUsuario = 0;
    std::string FError;
};

} // namespace emulador
