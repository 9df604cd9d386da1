// The UDP socket the OSC stream arrives on. It listens on every interface,
// so a phone or another computer on the same network can reach it.
#pragma once

#include "Descriptor.h"

#include <cstddef>
#include <cstdint>
#include <netinet/in.h>
#include <string>
#include <vector>

namespace emulador {

class TReceptorOsc {
public:
    // Binds the port (0: the system picks a free one); false with Error() set.
    bool Abrir(std::uint16_t puerto);
    int Fd() const { return FSocket.Fd(); }
    std::uint16_t Puerto() const { return FPuerto; }
    const std::string& Error() const { return FError; }

    // Takes the next waiting packet into 'paquete'; 'tamano' is its real size,
    // which may exceed what was kept, and 'origen' its sender. False when
    // none is waiting.
    bool Recibir(std::vector<unsigned char>& paquete, std::size_t& tamano, sockaddr_in& origen);

private:
    TDescriptor FSocket;
    std::uint16_t FPuerto = 0;
    std::string FError;
};

} // namespace emulador
