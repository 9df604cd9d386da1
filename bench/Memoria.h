// The process's own memory figures, read from /proc/self/status.
#pragma once

#include <fstream>
#include <string>

// Peak resident memory (VmHWM) in KiB, -1 when it cannot be read.
inline long PicoMemoriaKb()
{
    std::ifstream estado("/proc/self/status");
    std::string linea;
    while (std::getline(estado, linea))
        if (linea.rfind("VmHWM:", 0) == 0)
            return std::stol(linea.substr(6));
    return -1;
}
