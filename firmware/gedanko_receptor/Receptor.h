// The vehicle-side receiver: decodes frames and keeps the four outputs safe.
// All off at power-up, on a bad frame and when no valid frame has come for
// trama::CaducidadMs. A valid frame drives only when its sequence number is
// newer than the last one taken; an older one is ignored. Time comes from
// the caller in milliseconds (millis() on the board, a test clock on the
// host) and may wrap around. No Arduino headers and no standard library.
#pragma once

#include "Trama.h"

class TReceptor {
public:
    // The key the tags are checked with; all zero (the default) on a serial
    // link without one.
    void FijarClave(const trama::TClave& clave) { FClave = clave; }
    const trama::TClave& Clave() const { return FClave; }

    // Takes one byte of a serial stream at time `ahoraMs`.
    void Recibir(uint8_t byte, uint32_t ahoraMs);
    // Takes one datagram, which must be exactly one frame.
    void RecibirDatagrama(const uint8_t* bytes, uint16_t largo, uint32_t ahoraMs);
    // Forgets a frame begun in the stream, for a caller that drops a stale
    // backlog.
    void Descartar() { FLlenos = 0; }
    // The link itself is gone (Wi-Fi dropped): all off at once, as on a
    // timeout.
    void Cortar()
    {
        FLlenos = 0;
        FEnlace = false;
        FSalidas = 0;
    }
    // Turns the outputs off once the last valid frame is too old; call it
    // often, also when no byte comes.
    void Vigilar(uint32_t ahoraMs);

    // The outputs as a command byte (trama::Bit*); 0 is all off.
    uint8_t Salidas() const { return FSalidas; }
    // A valid frame came within the timeout: what the link LED shows.
    bool Enlace() const { return FEnlace; }
    // When the last valid frame came; meaningful only once one has.
    uint32_t UltimaTrama() const { return FUltimaTrama; }
    // The sequence number of the last valid frame.
    uint32_t Secuencia() const { return FSecuencia; }
    // Valid frames taken so far, and frames refused as bad or as older than
    // the last one (each wraps around).
    uint32_t TramasValidas() const { return FTramasValidas; }
    uint32_t TramasMalas() const { return FTramasMalas; }
    uint32_t TramasAtrasadas() const { return FTramasAtrasadas; }
    // Milliseconds until the outputs time out, 0 when no link is up.
    uint32_t RestoHastaCaducar(uint32_t ahoraMs) const;

private:
    void Evaluar(const uint8_t* trama, uint32_t ahoraMs);
    void Rechazar();
    void Resincronizar();

    trama::TClave FClave = {};
    uint8_t FTrama[trama::LongitudTrama] = {};
    uint8_t FLlenos = 0;
    uint32_t FUltimoByte = 0;
    uint8_t FSalidas = 0;
    bool FEnlace = false;
    bool FHaySecuencia = false;
    uint32_t FSecuencia = 0;
    uint32_t FUltimaTrama = 0;
    uint32_t FTramasValidas = 0;
    uint32_t FTramasMalas = 0;
    uint32_t FTramasAtrasadas = 0;
};
