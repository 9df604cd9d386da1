#include "ReceptorOsc.h"

#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>

namespace emulador {

namespace {
    // The largest UDP payload: a packet is always taken whole from the socket.
    constexpr std::size_t DatagramaMaximo = 65536;
} // namespace

bool TReceptorOsc::Abrir(std::uint16_t puerto)
{
    FSocket = TDescriptor(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (FSocket.Fd() < 0) {
        FError = std::string("no se puede crear el socket OSC: ") + std::strerror(errno);
        return false;
    }
    sockaddr_in dir {};
    dir.sin_family = AF_INET;
    dir.sin_port = htons(puerto);
    dir.sin_addr.s_addr = htonl(INADDR_ANY);
    socklen_t largo = sizeof dir;
    if (::bind(FSocket.Fd(), reinterpret_cast<const sockaddr*>(&dir), sizeof dir) != 0
        || ::getsockname(FSocket.Fd(), reinterpret_cast<sockaddr*>(&dir), &largo) != 0) {
        FError = "no se puede escuchar OSC en el puerto UDP " + std::to_string(puerto) + ": " + std::strerror(errno);
        FSocket.Cerrar();
        return false;
    }
    FPuerto = ntohs(dir.sin_port);
    return true;
}

bool TReceptorOsc::Recibir(std::vector<unsigned char>& paquete, std::size_t& tamano, sockaddr_in& origen)
{
    paquete.resize(DatagramaMaximo);
    origen = {};
    socklen_t largo = sizeof origen;
    const ssize_t n = ::recvfrom(FSocket.Fd(), paquete.data(), paquete.size(), MSG_DONTWAIT | MSG_TRUNC,
                                 reinterpret_cast<sockaddr*>(&origen), &largo);
    if (n < 0)
        return false;
    tamano = static_cast<std::size_t>(n);
    paquete.resize(std::min(tamano, paquete.size()));
    return true;
}

} // namespace emulador
