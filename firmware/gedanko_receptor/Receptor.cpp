#include "Receptor.h"

void TReceptor::Recibir(uint8_t byte, uint32_t ahoraMs)
{
    switch (FFase) {
    case fEsperaSincronia:
        // Anything between frames is ignored: it can never drive.
        if (byte == trama::Sincronia)
            FFase = fEsperaOrden;
        break;
    case fEsperaOrden:
        if (trama::OrdenValida(byte)) {
            FOrden = byte;
            FFase = fEsperaComprobacion;
        } else if (byte != trama::Sincronia) {
            // A repeated sync may start the real frame; anything else breaks it.
            Rechazar();
        }
        break;
    case fEsperaComprobacion:
        if (byte == trama::Comprobacion(FOrden)) {
            Aceptar(FOrden, ahoraMs);
        } else {
            Rechazar();
            // The broken frame's last byte may be the next one's start.
            if (byte == trama::Sincronia)
                FFase = fEsperaOrden;
        }
        break;
    }
    Vigilar(ahoraMs);
}

void TReceptor::Aceptar(uint8_t orden, uint32_t ahoraMs)
{
    FSalidas = orden;
    FEnlace = true;
    FUltimaTrama = ahoraMs;
    ++FTramasValidas;
    FFase = fEsperaSincronia;
}

void TReceptor::Rechazar()
{
    FSalidas = 0;
    FFase = fEsperaSincronia;
}

void TReceptor::Vigilar(uint32_t ahoraMs)
{
    // Unsigned difference: right across the wrap of the millisecond counter.
    if (FEnlace && static_cast<uint32_t>(ahoraMs - FUltimaTrama) >= trama::CaducidadMs) {
        FEnlace = false;
        FSalidas = 0;
    }
}

uint32_t TReceptor::RestoHastaCaducar(uint32_t ahoraMs) const
{
    if (!FEnlace)
        return 0;
    const uint32_t pasado = ahoraMs - FUltimaTrama;
    return pasado >= trama::CaducidadMs ? 0 : trama::CaducidadMs - pasado;
}
