// Names of the cognitive and expressive action bits in the engine's text
// formats (scenarios and profiles).
#pragma once

#include <cstdint>
#include <string_view>

namespace edk {

enum class TSuite { Cognitiva, Expresiva };

// Every bit the suite knows.
std::uint32_t BitsConocidos(TSuite suite);

// One action: its name ("tirar", "apretar") or a number that is exactly one known bit.
bool LeerAccion(std::string_view texto, TSuite suite, std::uint32_t& bit);

// A set of actions: names joined with '+' ("neutral+tirar"), or a number made
// only of known bits.
bool LeerPalabraAcciones(std::string_view texto, TSuite suite, std::uint32_t& palabra);

} // namespace edk
