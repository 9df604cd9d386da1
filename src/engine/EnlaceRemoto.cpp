// The engine's link to a remote emulator server: a non-blocking TCP client
// that turns protocol lines into engine events without ever making its
// caller wait.
#include "EnlaceRemoto.h"

#include "Descriptor.h"
#include "Protocolo.h"
#include "edk.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <string_view>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace edk {

namespace {

    // Connecting and the server's greeting together take at most this long.
    constexpr auto EsperaConexion = std::chrono::milliseconds(2000);
    using TRelojConexion = std::chrono::steady_clock;

    // Waits until 'limite' for the socket to be ready for 'eventos'.
    bool EsperarSocket(int fd, short eventos, TRelojConexion::time_point limite)
    {
        while (true) {
            const auto resto
                = std::chrono::duration_cast<std::chrono::milliseconds>(limite - TRelojConexion::now()).count();
            if (resto <= 0)
                return false;
            pollfd p {fd, eventos, 0};
            const int r = ::poll(&p, 1, static_cast<int>(resto));
            if (r < 0 && errno == EINTR)
                continue;
            return r > 0;
        }
    }

    // Waits until 'limite' for a non-blocking connect to finish.
    bool EsperarConexion(int fd, TRelojConexion::time_point limite)
    {
        if (!EsperarSocket(fd, POLLOUT, limite))
            return false;
        int error = 0;
        socklen_t largo = sizeof error;
        return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &largo) == 0 && error == 0;
    }

    // Events read from a connected socket. The receive buffer is allocated once;
    // a line never grows beyond LongitudMaximaLinea, so each poll does a bounded
    // amount of work however fast the server writes.
    class TFuenteRemota final : public TFuenteEventos {
    public:
        explicit TFuenteRemota(TDescriptor socket) : FSocket(std::move(socket)), FBuffer(4 * LongitudMaximaLinea) { }

        int Siguiente(TEvento& evento) override
        {
            while (!FPerdida) {
                std::string_view linea;
                if (SacarLinea(linea)) {
                    if (Procesar(linea, evento))
                        return EDK_SIN_ERRORES;
                    continue;
                }
                if (FPerdida)
                    break;
                if (FFin - FInicio >= LongitudMaximaLinea || FCerrada) {
                    Perder();
                    break;
                }
                if (!Recibir())
                    return EDK_SIN_EVENTOS;
            }
            return EDK_CONEXION_REMOTA_PERDIDA;
        }

        // The socket: readable when a line arrives or the server leaves. Once
        // the link is lost it is closed, which takes it out of any waiting.
        int Despertador() const override { return FSocket.Fd(); }

        // Waits until 'limite' for the server's first line; true when it is the
        // greeting. Whatever followed the greeting stays for Siguiente.
        bool EsperarSaludo(TRelojConexion::time_point limite)
        {
            while (!FSaludado && !FPerdida) {
                std::string_view linea;
                if (SacarLinea(linea)) {
                    TEvento ignorado;
                    Procesar(linea, ignorado);
                    continue;
                }
                if (FPerdida || FCerrada || FFin - FInicio >= LongitudMaximaLinea)
                    return false;
                if (!Recibir() && !EsperarSocket(FSocket.Fd(), POLLIN, limite))
                    return false;
            }
            return FSaludado;
        }

    private:
        // Takes the next complete line out of the buffer, without its "\n" or "\r\n".
        bool SacarLinea(std::string_view& linea)
        {
            const char* inicio = FBuffer.data() + FInicio;
            const std::size_t pendiente = FFin - FInicio;
            const void* nl = std::memchr(inicio, '\n', pendiente);
            if (!nl)
                return false;
            auto largo = static_cast<std::size_t>(static_cast<const char*>(nl) - inicio);
            FInicio += largo + 1;
            if (largo + 1 > LongitudMaximaLinea) {
                Perder();
                return false;
            }
            if (largo > 0 && inicio[largo - 1] == '\r')
                --largo;
            linea = std::string_view(inicio, largo);
            return true;
        }

        // True when 'evento' was filled; a line may also be the greeting or end the link.
        bool Procesar(std::string_view linea, TEvento& evento)
        {
            if (!FSaludado) {
                if (EsSaludo(linea))
                    FSaludado = true;
                else
                    Perder();
                return false;
            }
            if (InterpretarLinea(linea, evento))
                return true;
            evento = TEvento {};
            evento.Tipo = EE_EmulatorError;
            return true;
        }

        // One non-blocking read into the free end of the buffer. False when
        // nothing arrived now; true when data came or the link closed.
        bool Recibir()
        {
            if (FInicio > 0) {
                std::memmove(FBuffer.data(), FBuffer.data() + FInicio, FFin - FInicio);
                FFin -= FInicio;
                FInicio = 0;
            }
            const ssize_t n
                = ::recv(FSocket.Fd(), FBuffer.data() + FFin, FBuffer.size() - FFin, MSG_DONTWAIT | MSG_NOSIGNAL);
            if (n > 0) {
                FFin += static_cast<std::size_t>(n);
                return true;
            }
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
                return false;
            // End of stream or a socket error: lines already complete are still
            // delivered, then the link counts as lost.
            FCerrada = true;
            return true;
        }

        void Perder()
        {
            FPerdida = true;
            FSocket.Cerrar();
        }

        TDescriptor FSocket;
        std::vector<char> FBuffer;
        std::size_t FInicio = 0;
        std::size_t FFin = 0;
        bool FSaludado = false;
        bool FCerrada = false;
        bool FPerdida = false;
    };

    bool LeerParte(std::string_view parte, std::uint32_t& valor)
    {
        if (parte.empty() || parte.size() > 3)
            return false;
        std::uint32_t v = 0;
        for (const char c : parte) {
            if (c < '0' || c > '9')
                return false;
            v = v * 10 + static_cast<std::uint32_t>(c - '0');
        }
        if (v > 255)
            return false;
        valor = v;
        return true;
    }

} // namespace

bool LeerDireccionIPv4(const char* texto, std::uint32_t& direccion)
{
    if (!texto)
        return false;
    // Four parts of at most three digits and three dots: anything longer is wrong.
    const std::string_view todo(texto, ::strnlen(texto, 16));
    if (todo.size() > 15)
        return false;
    std::uint32_t resultado = 0;
    std::size_t inicio = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t punto = todo.find('.', inicio);
        const bool ultima = i == 3;
        if (ultima != (punto == std::string_view::npos))
            return false;
        std::uint32_t parte = 0;
        if (!LeerParte(todo.substr(inicio, ultima ? std::string_view::npos : punto - inicio), parte))
            return false;
        resultado = (resultado << 8) | parte;
        inicio = punto + 1;
    }
    direccion = resultado;
    return true;
}

std::unique_ptr<TFuenteEventos> ConectarRemoto(const char* direccion, std::uint16_t puerto, int& codigo)
{
    std::uint32_t ip = 0;
    if (!LeerDireccionIPv4(direccion, ip) || puerto == 0) {
        codigo = EDK_PARAMETRO_NO_VALIDO;
        return nullptr;
    }
    codigo = EDK_CONEXION_REMOTA_IMPOSIBLE;
    TDescriptor socket(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (socket.Fd() < 0)
        return nullptr;

    sockaddr_in destino {};
    destino.sin_family = AF_INET;
    destino.sin_port = htons(puerto);
    destino.sin_addr.s_addr = htonl(ip);
    int r = ::connect(socket.Fd(), reinterpret_cast<const sockaddr*>(&destino), sizeof destino);
    if (r < 0 && errno != EINPROGRESS && errno != EINTR)
        return nullptr;
    const TRelojConexion::time_point limite = TRelojConexion::now() + EsperaConexion;
    if (r < 0 && !EsperarConexion(socket.Fd(), limite))
        return nullptr;
    // Something accepting connections is not yet an emulator: only its
    // greeting counts as an answer.
    auto fuente = std::make_unique<TFuenteRemota>(std::move(socket));
    if (!fuente->EsperarSaludo(limite))
        return nullptr;

    codigo = EDK_SIN_ERRORES;
    return fuente;
}

} // namespace edk
