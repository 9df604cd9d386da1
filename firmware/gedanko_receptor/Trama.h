// The frame that carries the command byte to the vehicle's receiver over a
// serial line or UDP (docs/trama.md): sync, version, command, sequence
// number and a keyed tag that is also the check. The program's encoder and
// the receiver's decoder both include this one definition; it uses no
// standard library, since the AVR toolchain has none.
#pragma once

#include "SipHash.h"

#include <stdint.h>

namespace trama {

// The first byte of every frame. Never a valid command byte (those keep the
// high nibble clear).
constexpr uint8_t Sincronia = 0xA5;
// This layout's version; not a command byte either, so that a receiver of
// the older three-byte frame takes it for a bad frame and turns off.
constexpr uint8_t Version = 0x82;

// The receiver's answer to a frame it took over UDP: the same layout with
// this version, no command, the frame's sequence number and the tag.
constexpr uint8_t VersionAcuse = 0x83;

// Byte positions.
constexpr uint8_t PosVersion = 1;
constexpr uint8_t PosOrden = 2;
constexpr uint8_t PosSecuencia = 3; // 32 bits, least significant first
constexpr uint8_t PosEtiqueta = 7; // 32 bits of SipHash-2-4 over bytes 0..6
constexpr uint8_t LongitudEtiqueta = 4;
constexpr uint8_t LongitudTrama = PosEtiqueta + LongitudEtiqueta;

// The command byte's four bits, as on the parallel port's data lines.
constexpr uint8_t BitAvance = 0x01;
constexpr uint8_t BitRetroceso = 0x02;
constexpr uint8_t BitIzquierda = 0x04;
constexpr uint8_t BitDerecha = 0x08;
constexpr uint8_t BitsOrden = BitAvance | BitRetroceso | BitIzquierda | BitDerecha;

// The sender repeats the current command at least this often; the receiver
// turns everything off once no valid frame has come for the timeout.
constexpr uint16_t IntervaloLatidoMs = 50;
constexpr uint16_t CaducidadMs = 300;
// Two bytes of one frame never lie further apart than this: a frame leaves
// in one write, taking under a millisecond at 115200 baud.
constexpr uint16_t PausaMaximaMs = 5;
// Bytes that waited unread for longer than this are not current: a
// receiver that fell this far behind drops its backlog.
constexpr uint16_t RetrasoMaximoLecturaMs = 20;
// After this long without a link the receiver forgets the last sequence
// number, so that a counter far ahead or behind can never lock it out.
constexpr uint32_t OlvidoSecuenciaMs = 3600000UL;

// Serial settings the receiver's sketch opens with; the program defaults to
// the same.
constexpr uint32_t BaudiosPorDefecto = 115200;

// The key shared by sender and receiver. All zero is "no key": a serial link
// goes without one, and the tag is then only a strong check.
struct TClave {
    uint8_t Bytes[siphash::LongitudClave];
};
constexpr uint8_t DigitosClave = 2 * siphash::LongitudClave;

// A command the vehicle can act on: only the four bits, and never two
// opposite ones together.
inline bool OrdenValida(uint8_t orden)
{
    if ((orden & ~BitsOrden) != 0)
        return false;
    const bool avanceYRetroceso = (orden & BitAvance) && (orden & BitRetroceso);
    const bool izquierdaYDerecha = (orden & BitIzquierda) && (orden & BitDerecha);
    return !avanceYRetroceso && !izquierdaYDerecha;
}

// `secuencia` comes after `anterior`, across the wrap of the counter.
inline bool Posterior(uint32_t secuencia, uint32_t anterior)
{
    const uint32_t avance = secuencia - anterior;
    return avance != 0 && avance < 0x80000000UL;
}

inline uint32_t LeerSecuencia(const uint8_t* trama)
{
    uint32_t valor = 0;
    for (uint8_t i = 4; i > 0; --i)
        valor = (valor << 8) | trama[PosSecuencia + i - 1];
    return valor;
}

// The tag of a frame whose first PosEtiqueta bytes are filled in.
inline uint32_t Etiqueta(const TClave& clave, const uint8_t* trama)
{
    return static_cast<uint32_t>(siphash::Calcular(clave.Bytes, trama, PosEtiqueta));
}

// The layout of a frame or an answer.
inline void CodificarCon(uint8_t version, uint8_t orden, uint32_t secuencia, const TClave& clave, uint8_t* salida)
{
    salida[0] = Sincronia;
    salida[PosVersion] = version;
    salida[PosOrden] = orden;
    for (uint8_t i = 0; i < 4; ++i)
        salida[PosSecuencia + i] = static_cast<uint8_t>(secuencia >> (8 * i));
    const uint32_t etiqueta = Etiqueta(clave, salida);
    for (uint8_t i = 0; i < LongitudEtiqueta; ++i)
        salida[PosEtiqueta + i] = static_cast<uint8_t>(etiqueta >> (8 * i));
}

// Writes the frame of `orden` into `salida` (LongitudTrama bytes).
inline void Codificar(uint8_t orden, uint32_t secuencia, const TClave& clave, uint8_t* salida)
{
    CodificarCon(Version, orden, secuencia, clave, salida);
}

// Writes the answer to the frame numbered `secuencia`.
inline void CodificarAcuse(uint32_t secuencia, const TClave& clave, uint8_t* salida)
{
    CodificarCon(VersionAcuse, 0, secuencia, clave, salida);
}

inline bool EtiquetaCorrecta(const TClave& clave, const uint8_t* trama)
{
    const uint32_t etiqueta = Etiqueta(clave, trama);
    for (uint8_t i = 0; i < LongitudEtiqueta; ++i)
        if (trama[PosEtiqueta + i] != static_cast<uint8_t>(etiqueta >> (8 * i)))
            return false;
    return true;
}

// A whole answer from a receiver that holds the key.
inline bool ComprobarAcuse(const TClave& clave, const uint8_t* trama)
{
    return trama[0] == Sincronia && trama[PosVersion] == VersionAcuse && trama[PosOrden] == 0
           && EtiquetaCorrecta(clave, trama);
}

// A whole frame that may drive: sync, version, a valid command and the tag.
inline bool Comprobar(const TClave& clave, const uint8_t* trama)
{
    return trama[0] == Sincronia && trama[PosVersion] == Version && OrdenValida(trama[PosOrden])
           && EtiquetaCorrecta(clave, trama);
}

// Reads a key written as DigitosClave hexadecimal digits; false on anything
// else, and on all zero, which would be no key at all.
inline bool LeerClave(const char* texto, TClave& clave)
{
    uint8_t algo = 0;
    for (uint8_t i = 0; i < DigitosClave; ++i) {
        const char c = texto[i];
        uint8_t cifra = 0;
        if (c >= '0' && c <= '9')
            cifra = static_cast<uint8_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            cifra = static_cast<uint8_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            cifra = static_cast<uint8_t>(c - 'A' + 10);
        else
            return false;
        uint8_t& byte = clave.Bytes[i / 2];
        byte = (i % 2 == 0) ? static_cast<uint8_t>(cifra << 4) : static_cast<uint8_t>(byte | cifra);
        algo |= cifra;
    }
    return texto[DigitosClave] == '\0' && algo != 0;
}

} // namespace trama
