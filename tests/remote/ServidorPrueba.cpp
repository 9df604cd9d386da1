#include "ServidorPrueba.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int EscucharEnLoopback(std::uint16_t& puerto, bool escuchar)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in dir {};
    dir.sin_family = AF_INET;
    dir.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t largo = sizeof dir;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&dir), sizeof dir) != 0 || (escuchar && ::listen(fd, 4) != 0)
        || ::getsockname(fd, reinterpret_cast<sockaddr*>(&dir), &largo) != 0) {
        ::close(fd);
        return -1;
    }
    puerto = ntohs(dir.sin_port);
    return fd;
}

} // namespace

TServidorPrueba::TServidorPrueba()
{
    FEscucha = EscucharEnLoopback(FPuerto, true);
}

TServidorPrueba::~TServidorPrueba()
{
    Atendido();
    CerrarCliente();
    if (FEscucha >= 0)
        ::close(FEscucha);
}

bool TServidorPrueba::Aceptar(int esperaMs)
{
    pollfd p {FEscucha, POLLIN, 0};
    if (FEscucha < 0 || ::poll(&p, 1, esperaMs) != 1)
        return false;
    FCliente = ::accept4(FEscucha, nullptr, nullptr, SOCK_CLOEXEC);
    return FCliente >= 0;
}

void TServidorPrueba::AtenderEnParalelo(std::string primero)
{
    Atendido();
    FAtencion = std::thread([this, primero = std::move(primero)] { FAtendido = Aceptar() && Enviar(primero); });
}

bool TServidorPrueba::Atendido()
{
    if (FAtencion.joinable())
        FAtencion.join();
    return FAtendido;
}

bool TServidorPrueba::Enviar(std::string_view texto)
{
    while (!texto.empty()) {
        const ssize_t n = ::send(FCliente, texto.data(), texto.size(), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        texto.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void TServidorPrueba::CerrarCliente()
{
    if (FCliente >= 0)
        ::close(FCliente);
    FCliente = -1;
}

TPuertoSinEscucha::TPuertoSinEscucha()
{
    FFd = EscucharEnLoopback(FPuerto, false);
}

TPuertoSinEscucha::~TPuertoSinEscucha()
{
    if (FFd >= 0)
        ::close(FFd);
}
