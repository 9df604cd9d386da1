// The engine's link to a remote emulator server over TCP.
#pragma once

#include "Modelo.h"

#include <cstdint>
#include <memory>

namespace edk {

// Reads a dotted IPv4 address: four decimal parts 0..255 (leading zeros are
// decimal, never octal). The result is in host byte order.
bool LeerDireccionIPv4(const char* texto, std::uint32_t& direccion);

// Connects and waits for the server's greeting, both within 2 s. On failure
// answers nullptr with the code in 'codigo': 0x0302 for a null or malformed
// address or port 0, 0x0502 when the server refuses, does not answer in time
// or answers with anything but the greeting.
std::unique_ptr<TFuenteEventos> ConectarRemoto(const char* direccion, std::uint16_t puerto, int& codigo);

} // namespace edk
