// Placeholder until the remote link lands.
#include "EnlaceRemoto.h"

namespace edk {

bool LeerDireccionIPv4(const char*, std::uint32_t&) { return false; }

std::unique_ptr<TFuenteEventos> ConectarRemoto(const char*, std::uint16_t, int& codigo)
{
    codigo = 0x0502;
    return nullptr;
}

} // namespace edk
