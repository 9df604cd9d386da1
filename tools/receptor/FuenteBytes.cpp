#include "FuenteBytes.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <termios.h>

namespace {

speed_t Velocidad(std::uint32_t baudios)
{
    switch (baudios) {
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 230400:
        return B230400;
    default:
        return B115200;
    }
}

// Raw bytes both ways: no echo, no line editing, no CR/LF translation.
bool Crudo(int fd, speed_t velocidad)
{
    termios modo {};
    if (::tcgetattr(fd, &modo) != 0)
        return false;
    ::cfmakeraw(&modo);
    ::cfsetispeed(&modo, velocidad);
    ::cfsetospeed(&modo, velocidad);
    modo.c_cflag |= CLOCAL | CREAD;
    return ::tcsetattr(fd, TCSANOW, &modo) == 0;
}

std::string Causa()
{
    return std::strerror(errno);
}

} // namespace

bool TFuenteBytes::Fallar(const std::string& mensaje)
{
    FMensajeError = mensaje;
    return false;
}

bool TFuenteBytes::AbrirSerie(const std::string& dispositivo, std::uint32_t baudios)
{
    FFd = TDescriptor(::open(dispositivo.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
    if (FFd.Fd() < 0)
        return Fallar("no se puede abrir " + dispositivo + ": " + Causa());
    if (!Crudo(FFd.Fd(), Velocidad(baudios)))
        return Fallar(dispositivo + " no es un dispositivo serie: " + Causa());
    FNombre = dispositivo;
    return true;
}

bool TFuenteBytes::AbrirPty()
{
    FFd = TDescriptor(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
    if (FFd.Fd() < 0 || ::grantpt(FFd.Fd()) != 0 || ::unlockpt(FFd.Fd()) != 0)
        return Fallar("no se puede crear un pseudoterminal: " + Causa());
    const char* esclavo = ::ptsname(FFd.Fd());
    if (!esclavo)
        return Fallar("el pseudoterminal no tiene nombre: " + Causa());
    FNombre = esclavo;
    FEsclavo = TDescriptor(::open(esclavo, O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (FEsclavo.Fd() < 0 || !Crudo(FEsclavo.Fd(), B115200))
        return Fallar("no se puede preparar " + FNombre + ": " + Causa());
    return true;
}

bool TFuenteBytes::AbrirUdp(const std::string& direccion)
{
    const std::size_t dosPuntos = direccion.rfind(':');
    const std::string equipo = dosPuntos == std::string::npos ? "0.0.0.0" : direccion.substr(0, dosPuntos);
    const std::string puerto = dosPuntos == std::string::npos ? direccion : direccion.substr(dosPuntos + 1);
    sockaddr_in local {};
    local.sin_family = AF_INET;
    char* fin = nullptr;
    const long numero = std::strtol(puerto.c_str(), &fin, 10);
    if (puerto.empty() || *fin != '\0' || numero < 0 || numero > 65535
        || ::inet_pton(AF_INET, equipo.c_str(), &local.sin_addr) != 1)
        return Fallar("dirección UDP no válida: " + direccion);
    local.sin_port = htons(static_cast<std::uint16_t>(numero));
    FFd = TDescriptor(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (FFd.Fd() < 0 || ::bind(FFd.Fd(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
        return Fallar("no se puede escuchar en UDP " + direccion + ": " + Causa());
    socklen_t largo = sizeof local;
    ::getsockname(FFd.Fd(), reinterpret_cast<sockaddr*>(&local), &largo);
    FNombre = equipo + ":" + std::to_string(ntohs(local.sin_port));
    FDatagramas = true;
    return true;
}

long TFuenteBytes::Leer(std::uint8_t* destino, std::size_t capacidad)
{
    FLargoRemitente = sizeof FRemitente;
    const ssize_t leidos = FDatagramas ? ::recvfrom(FFd.Fd(), destino, capacidad, 0,
                                                    reinterpret_cast<sockaddr*>(&FRemitente), &FLargoRemitente)
                                       : ::read(FFd.Fd(), destino, capacidad);
    if (leidos >= 0)
        return leidos;
    return errno == EAGAIN || errno == EINTR ? 0 : -1;
}

void TFuenteBytes::Responder(const std::uint8_t* bytes, std::size_t cuantos)
{
    if (FDatagramas && FLargoRemitente > 0)
        ::sendto(FFd.Fd(), bytes, cuantos, 0, reinterpret_cast<const sockaddr*>(&FRemitente), FLargoRemitente);
}
