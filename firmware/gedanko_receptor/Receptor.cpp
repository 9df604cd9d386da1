#include "Receptor.h"

void TReceptor::Recibir(uint8_t byte, uint32_t ahoraMs)
{
    // A frame whose bytes straggle in is no frame: start hunting again.
    if (FLlenos > 0 && static_cast<uint32_t>(ahoraMs - FUltimoByte) > trama::PausaMaximaMs)
        FLlenos = 0;
    FUltimoByte = ahoraMs;
    if (FLlenos == 0 && byte != trama::Sincronia) {
        // Anything between frames is ignored: it can never drive.
        Vigilar(ahoraMs);
        return;
    }
    FTrama[FLlenos++] = byte;
    if (FLlenos == trama::PosVersion + 1 && byte != trama::Version) {
        Rechazar();
        Resincronizar();
    } else if (FLlenos == trama::LongitudTrama) {
        Evaluar(FTrama, ahoraMs);
    }
    Vigilar(ahoraMs);
}

void TReceptor::RecibirDatagrama(const uint8_t* bytes, uint16_t largo, uint32_t ahoraMs)
{
    FLlenos = 0;
    if (largo == trama::LongitudTrama)
        Evaluar(bytes, ahoraMs);
    else
        Rechazar();
    FLlenos = 0;
    Vigilar(ahoraMs);
}

void TReceptor::Evaluar(const uint8_t* trama, uint32_t ahoraMs)
{
    if (!trama::Comprobar(FClave, trama)) {
        Rechazar();
        Resincronizar();
        return;
    }
    FLlenos = 0;
    const uint32_t secuencia = trama::LeerSecuencia(trama);
    if (FHaySecuencia && !trama::Posterior(secuencia, FSecuencia)) {
        // A replayed or reordered frame: not current, but no fault either.
        ++FTramasAtrasadas;
        return;
    }
    FHaySecuencia = true;
    FSecuencia = secuencia;
    FSalidas = trama[trama::PosOrden];
    FEnlace = true;
    FUltimaTrama = ahoraMs;
    ++FTramasValidas;
}

void TReceptor::Rechazar()
{
    FSalidas = 0;
    ++FTramasMalas;
}

// A broken frame's later bytes may hold the next frame's start: keep them
// from the next sync on, dropping any start whose version is wrong too.
void TReceptor::Resincronizar()
{
    uint8_t desde = 1;
    for (;;) {
        while (desde < FLlenos && FTrama[desde] != trama::Sincronia)
            ++desde;
        const uint8_t quedan = FLlenos > desde ? static_cast<uint8_t>(FLlenos - desde) : 0;
        for (uint8_t i = 0; i < quedan; ++i)
            FTrama[i] = FTrama[desde + i];
        FLlenos = quedan;
        if (FLlenos <= trama::PosVersion || FTrama[trama::PosVersion] == trama::Version)
            return;
        desde = 1;
    }
}

void TReceptor::Vigilar(uint32_t ahoraMs)
{
    // Unsigned difference: right across the wrap of the millisecond counter.
    const uint32_t pasado = ahoraMs - FUltimaTrama;
    if (FEnlace && pasado >= trama::CaducidadMs) {
        FEnlace = false;
        FSalidas = 0;
    }
    if (!FEnlace && FHaySecuencia && pasado >= trama::OlvidoSecuenciaMs)
        FHaySecuencia = false;
}

uint32_t TReceptor::RestoHastaCaducar(uint32_t ahoraMs) const
{
    if (!FEnlace)
        return 0;
    const uint32_t pasado = ahoraMs - FUltimaTrama;
    return pasado >= trama::CaducidadMs ? 0 : trama::CaducidadMs - pasado;
}
