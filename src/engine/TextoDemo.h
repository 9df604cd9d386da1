// The text of the built-in demo scenario, compiled from resources/escenarios/demo.esc.
#pragma once

#include <string_view>

namespace edk {

std::string_view TextoDemo();

} // namespace edk
