// Where the program looks for the emulator server until the operator says
// otherwise, and where the server listens unless told otherwise.
#pragma once

#include <cstdint>

constexpr const char* DireccionEmuladorPorDefecto = "127.0.0.1";
constexpr std::uint16_t PuertoEmuladorPorDefecto = 1726;
