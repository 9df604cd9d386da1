// SipHash-2-4 (Aumasson and Bernstein): a keyed hash of a short message with
// a 128-bit key, small enough for an 8-bit microcontroller. The frame's tag
// is its low 32 bits. No standard library: the AVR toolchain has none.
#pragma once

#include <stdint.h>

namespace siphash {

constexpr uint8_t LongitudClave = 16;

inline uint64_t Rotar(uint64_t x, uint8_t b)
{
    return (x << b) | (x >> (64 - b));
}

inline uint64_t LeerPalabra(const uint8_t* p)
{
    uint64_t v = 0;
    for (uint8_t i = 8; i > 0; --i)
        v = (v << 8) | p[i - 1];
    return v;
}

struct TEstado {
    uint64_t V0, V1, V2, V3;

    void Ronda()
    {
        V0 += V1;
        V1 = Rotar(V1, 13);
        V1 ^= V0;
        V0 = Rotar(V0, 32);
        V2 += V3;
        V3 = Rotar(V3, 16);
        V3 ^= V2;
        V0 += V3;
        V3 = Rotar(V3, 21);
        V3 ^= V0;
        V2 += V1;
        V1 = Rotar(V1, 17);
        V1 ^= V2;
        V2 = Rotar(V2, 32);
    }

    void Comprimir(uint64_t m)
    {
        V3 ^= m;
        Ronda();
        Ronda();
        V0 ^= m;
    }
};

// The 64-bit SipHash-2-4 of `largo` bytes under `clave` (LongitudClave bytes).
inline uint64_t Calcular(const uint8_t* clave, const uint8_t* datos, uint8_t largo)
{
    const uint64_t k0 = LeerPalabra(clave);
    const uint64_t k1 = LeerPalabra(clave + 8);
    TEstado e {k0 ^ 0x736f6d6570736575ULL, k1 ^ 0x646f72616e646f6dULL, k0 ^ 0x6c7967656e657261ULL,
               k1 ^ 0x7465646279746573ULL};
    uint8_t resto = largo;
    for (; resto >= 8; resto -= 8, datos += 8)
        e.Comprimir(LeerPalabra(datos));
    // The last word: the remaining bytes and the length in the top byte.
    uint64_t ultima = static_cast<uint64_t>(largo) << 56;
    for (uint8_t i = 0; i < resto; ++i)
        ultima |= static_cast<uint64_t>(datos[i]) << (8 * i);
    e.Comprimir(ultima);
    e.V2 ^= 0xFF;
    for (uint8_t i = 0; i < 4; ++i)
        e.Ronda();
    return e.V0 ^ e.V1 ^ e.V2 ^ e.V3;
}

} // namespace siphash
