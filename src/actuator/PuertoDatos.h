// The I/O address of the parallel port's data register (0x378, the first
// port), where the vehicle's remote control is wired: the actuator writes
// there, and our port library reaches that port and no other.
#pragma once

#include <cstdint>

constexpr std::uint16_t PuertoDatos = 888;
