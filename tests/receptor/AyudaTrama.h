// Frames as byte vectors for the receiver's tests.
#pragma once

#include "Trama.h"

#include <cstdint>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline Bytes Trama(std::uint8_t orden, std::uint32_t secuencia, const trama::TClave& clave = {})
{
    Bytes bytes(trama::LongitudTrama);
    trama::Codificar(orden, secuencia, clave, bytes.data());
    return bytes;
}

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
