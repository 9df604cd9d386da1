// Small text helpers shared by the scenario and profile readers: strict
// number parsing, splitting into tokens and bounded reading of text files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace edk {

// Whole-token parsers: the token must be a number and nothing else.
// Integers are decimal or hexadecimal with 0x; no sign for hexadecimal.
bool LeerEntero(std::string_view texto, long long& valor);
bool LeerEnteroEntre(std::string_view texto, long long minimo, long long maximo, long long& valor);
// Decimal reals with a point; finite only.
bool LeerReal(std::string_view texto, double& valor);

// Splits on blanks (spaces and tabs).
std::vector<std::string_view> Trocear(std::string_view linea);

// Splits on one separator character, keeping empty parts.
std::vector<std::string_view> Partir(std::string_view texto, char separador);

// Drops blanks at both ends.
std::string_view Recortar(std::string_view texto);

// Text without a trailing comment ('#' to the end of the line).
std::string_view SinComentario(std::string_view linea);

enum class TLecturaFichero { Leido, NoLegible, DemasiadoGrande };

// Reads a whole regular file of at most 'maximo' bytes. Opens without
// blocking, so a FIFO or a device never hangs the caller; anything that is
// not a regular file counts as unreadable.
TLecturaFichero LeerFicheroTexto(const std::string& ruta, std::size_t maximo, std::string& texto);

// Windows-1252 text as UTF-8 (for file names handed over in that code page).
std::string DeCodigoPagina(std::string_view texto);

} // namespace edk
