// The vehicle-side receiver: decodes frames byte by byte and keeps the four
// outputs safe. All off at power-up, on a bad frame and when no valid frame
// has come for trama::CaducidadMs. Time comes from the caller in
// milliseconds (millis() on the board, a test clock on the host) and may
// wrap around. No Arduino headers and no standard library.
#pragma once

#include "Trama.h"

class TReceptor {
public:
    // Takes one received byte at time `ahoraMs`.
    void Recibir(uint8_t byte, uint32_t ahoraMs);
    // Turns the outputs off once the last valid frame is too old; call it
    // often, also when no byte comes.
    void Vigilar(uint32_t ahoraMs);

    // The outputs as a command byte (trama::Bit*); 0 is all off.
    uint8_t Salidas() const { return FSalidas; }
    // A valid frame came within the timeout: what the link LED shows.
    bool Enlace() const { return FEnlace; }
    // When the last valid frame came; meaningful only once one has.
    uint32_t UltimaTrama() const { return FUltimaTrama; }
    // Valid frames taken so far (wraps around).
    uint32_t TramasValidas() const { return FTramasValidas; }
    // Milliseconds until the outputs time out, 0 when no link is up.
    uint32_t RestoHastaCaducar(uint32_t ahoraMs) const;

private:
    enum TFase : uint8_t { fEsperaSincronia, fEsperaOrden, fEsperaComprobacion };

    void Aceptar(uint8_t orden, uint32_t ahoraMs);
    void Rechazar();

    TFase FFase = fEsperaSincronia;
    uint8_t FOrden = 0;
    uint8_t FSalidas = 0;
    bool FEnlace = false;
    uint32_t FUltimaTrama = 0;
    uint32_t FTramasValidas = 0;
};
