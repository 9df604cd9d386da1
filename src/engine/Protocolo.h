// Line protocol between the emulator server and the engine's remote link.
//
// The server speaks first with a greeting line, then sends one line per
// engine event. Lines end in '\n' and carry ASCII tokens separated by one
// space. Every function here is pure and bounded by the length of its input.
#pragma once

#include "Modelo.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace edk {

constexpr int VersionProtocolo = 1;

// Longest line accepted, the final '\n' included.
constexpr std::size_t LongitudMaximaLinea = 1024;

// The greeting without its '\n': "GEDANKO-EMU 1".
std::string Saludo();
bool EsSaludo(std::string_view linea);

// Writes one event as a line without its '\n'. False (and 'linea' left
// untouched) when the event holds a value the protocol cannot carry: a type
// outside 0..0xFFFF other than the internal gyro types, or an EmoState value
// out of range (see InterpretarLinea).
bool FormatearEvento(const TEvento& evento, std::string& linea);

// Reads one line without its '\n'. Strict: false on anything malformed, and
// 'evento' is then left untouched.
bool InterpretarLinea(std::string_view linea, TEvento& evento);

} // namespace edk
