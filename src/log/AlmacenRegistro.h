// The event log's lines, kept in blocks so that its memory stays bounded: only
// the newest blocks stay in memory, older ones are spilled to an unlinked
// temporary file and read back (through a small cache) when asked for. A
// block that cannot be spilled stays in memory: no line is ever lost.
#pragma once

#include "Descriptor.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TAlmacenRegistro {
public:
    struct TLimites {
        std::size_t LineasPorBloque = 4096;
        // A block also closes once its text reaches this size, so that long
        // lines cannot make the in-memory part large.
        std::size_t BytesPorBloque = 1 << 20;
        // Blocks kept in memory, the one being filled included.
        std::size_t BloquesEnMemoria = 4;
        // Spilled blocks kept after being read back.
        std::size_t BloquesEnCache = 4;
    };

    // The spill file is made in carpeta when the first block is spilled.
    explicit TAlmacenRegistro(std::string carpeta);
    TAlmacenRegistro(std::string carpeta, const TLimites& limites);
    ~TAlmacenRegistro();
    TAlmacenRegistro(const TAlmacenRegistro&) = delete;
    TAlmacenRegistro& operator=(const TAlmacenRegistro&) = delete;

    // Appends one line of UTF-8 text with its level.
    void Anadir(int nivel, std::string_view linea);
    // Drops every line and the spill file.
    void Limpiar();

    std::size_t NumLineas() const { return FNumLineas; }
    // Unicode characters in all lines together.
    std::uint64_t NumCaracteres() const { return FNumCaracteres; }
    // The line's text, valid until the next call on the store; empty when
    // its block cannot be read back (ErrorLectura tells why).
    std::string_view Linea(std::size_t i) const;
    int Nivel(std::size_t i) const;
    // Hands lines desde..hasta-1 to visitar in order, reading each block
    // once; false when visitar stops or a block cannot be read back.
    using TVisitante = std::function<bool(std::string_view linea, int nivel)>;
    bool Recorrer(std::size_t desde, std::size_t hasta, const TVisitante& visitar) const;

    std::size_t BloquesVolcados() const { return FVolcados; }
    // Blocks holding their lines in memory: the unspilled ones and the cache.
    std::size_t BloquesCargados() const;
    // The errno of the last spill that failed (0 after a spill that worked),
    // and of the last block that could not be read back.
    int ErrorVolcado() const { return FErrorVolcado; }
    int ErrorLectura() const { return FErrorLectura; }

private:
    struct TLineas;
    struct TBloque;
    struct TCacheado;

    TLineas& Actual();
    void AbrirBloque();
    void Volcar();
    bool VolcarBloque(TBloque& bloque);
    bool CrearFichero();
    std::size_t BloqueDe(std::size_t linea) const;
    std::size_t LineasDe(std::size_t bloque) const;
    // The block's lines, read back when spilled; null when they cannot be.
    const TLineas* Lineas(std::size_t bloque) const;
    bool LeerBloque(std::size_t bloque, TLineas& lineas) const;

    std::string FCarpeta;
    TLimites FLimites;
    std::vector<TBloque> FBloques;
    std::size_t FNumLineas = 0;
    std::uint64_t FNumCaracteres = 0;
    // Blocks 0..FVolcados-1 are in the file; the rest are in memory.
    std::size_t FVolcados = 0;
    TDescriptor FFichero;
    std::uint64_t FFinFichero = 0;
    int FErrorVolcado = 0;
    // Read-back blocks, the most recently used first.
    mutable std::vector<TCacheado> FCache;
    mutable int FErrorLectura = 0;
};
