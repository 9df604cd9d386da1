#include "Servidor.h"

#include "EnlaceRemoto.h"
#include "Ordenes.h"
#include "Protocolo.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace emulador {

namespace {

    constexpr std::size_t ClientesMaximos = 32;
    // A client that leaves this much unread is dropped rather than buffered forever.
    constexpr std::size_t SalidaMaxima = 1024 * 1024;
    constexpr std::size_t LineaConsolaMaxima = 512;

    void Registrar(const std::string& texto)
    {
        std::fprintf(stderr, "gedanko-emulador: %s\n", texto.c_str());
        std::fflush(stderr);
    }

    void Responder(const std::string& texto)
    {
        if (!texto.empty()) {
            std::fprintf(stdout, "%s\n", texto.c_str());
            std::fflush(stdout);
        }
    }

    std::string NombreDe(const sockaddr_in& dir)
    {
        char ip[INET_ADDRSTRLEN] = "?";
        ::inet_ntop(AF_INET, &dir.sin_addr, ip, sizeof ip);
        return std::string(ip) + ":" + std::to_string(ntohs(dir.sin_port));
    }

} // namespace

TServidor::TServidor(const edk::TEscenario& escenario, const TOpciones& opciones)
    : FEscenario(escenario),
      FOpciones(opciones)
{
}

bool TServidor::Escuchar()
{
    std::uint32_t ip = 0;
    if (!edk::LeerDireccionIPv4(FOpciones.Direccion.c_str(), ip)) {
        FError = "dirección no válida: " + FOpciones.Direccion;
        return false;
    }
    FEscucha = TDescriptor(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (FEscucha.Fd() < 0) {
        FError = std::string("no se puede crear el socket: ") + std::strerror(errno);
        return false;
    }
    const int si = 1;
    ::setsockopt(FEscucha.Fd(), SOL_SOCKET, SO_REUSEADDR, &si, sizeof si);
    sockaddr_in dir {};
    dir.sin_family = AF_INET;
    dir.sin_port = htons(FOpciones.Puerto);
    dir.sin_addr.s_addr = htonl(ip);
    socklen_t largo = sizeof dir;
    if (::bind(FEscucha.Fd(), reinterpret_cast<const sockaddr*>(&dir), sizeof dir) != 0
        || ::listen(FEscucha.Fd(), 8) != 0
        || ::getsockname(FEscucha.Fd(), reinterpret_cast<sockaddr*>(&dir), &largo) != 0) {
        FError = "no se puede escuchar en " + FOpciones.Direccion + ":" + std::to_string(FOpciones.Puerto) + ": "
                 + std::strerror(errno);
        return false;
    }
    FPuerto = ntohs(dir.sin_port);
    return true;
}

void TServidor::Ejecutar(const sigset_t& mascaraEspera, const volatile std::sig_atomic_t& parar)
{
    const double periodo = 1.0 / FOpciones.Tasa;
    const timespec espera {0, static_cast<long>(std::clamp(periodo, 0.001, 0.5) * 1e9)};
    std::vector<pollfd> fds;
    while (!parar && !FSalir) {
        fds.clear();
        fds.push_back({FEscucha.Fd(), POLLIN, 0});
        fds.push_back({FConsolaAbierta ? STDIN_FILENO : -1, POLLIN, 0});
        for (const TCliente& c : FClientes)
            fds.push_back({c.Socket.Fd(), static_cast<short>(POLLIN | (c.Salida.empty() ? 0 : POLLOUT)), 0});

        const int r = ::ppoll(fds.data(), fds.size(), &espera, &mascaraEspera);
        if (r < 0 && errno != EINTR) {
            Registrar(std::string("error de poll: ") + std::strerror(errno));
            break;
        }
        if (parar)
            break;
        if (r > 0) {
            for (std::size_t i = 0; i < FClientes.size(); ++i)
                if (fds[i + 2].revents & (POLLIN | POLLHUP | POLLERR))
                    Recibir(FClientes[i]);
            if (fds[1].revents & (POLLIN | POLLHUP | POLLERR))
                LeerConsola();
            if (fds[0].revents & POLLIN)
                Aceptar();
        }
        AvanzarClientes();
        RetirarCerrados();
    }
    Registrar("deteniendo el emulador (clientes conectados: " + std::to_string(FClientes.size()) + ")");
    FClientes.clear();
}

void TServidor::Aceptar()
{
    sockaddr_in dir {};
    socklen_t largo = sizeof dir;
    TDescriptor socket(
        ::accept4(FEscucha.Fd(), reinterpret_cast<sockaddr*>(&dir), &largo, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (socket.Fd() < 0)
        return;
    const std::string nombre = NombreDe(dir);
    if (FClientes.size() >= ClientesMaximos) {
        Registrar("cliente rechazado: " + nombre + " (ya hay " + std::to_string(FClientes.size())
                  + " clientes conectados)");
        return;
    }
    TCliente c;
    c.Socket = std::move(socket);
    c.Nombre = nombre;
    c.Inicio = TReloj::now();
    c.Sesion = std::make_unique<TSesion>(FEscenario, FOpciones.Tasa, FOpciones.Bucle);
    c.Salida = edk::Saludo() + "\n";
    FClientes.push_back(std::move(c));
    Registrar("cliente conectado: " + nombre + " (clientes conectados: " + std::to_string(FClientes.size()) + ")");
}

void TServidor::Recibir(TCliente& cliente)
{
    // Clients have nothing to say; whatever they send is read and dropped.
    char basura[512];
    const ssize_t n = ::recv(cliente.Socket.Fd(), basura, sizeof basura, MSG_DONTWAIT);
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
        if (!cliente.Cerrar)
            Registrar("cliente desconectado: " + cliente.Nombre);
        cliente.Cerrar = true;
    }
}

void TServidor::LeerConsola()
{
    char buf[512];
    const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
    if (n <= 0) {
        if (n < 0 && errno == EINTR)
            return;
        // End of input: the server keeps serving, without a console.
        FConsolaAbierta = false;
        if (!FConsola.empty())
            Ordenar(std::exchange(FConsola, {}));
        return;
    }
    for (ssize_t i = 0; i < n; ++i) {
        if (buf[i] == '\n') {
            Ordenar(std::exchange(FConsola, {}));
        } else if (FConsola.size() < LineaConsolaMaxima) {
            FConsola += buf[i];
        }
    }
}

void TServidor::Ordenar(const std::string& linea)
{
    const TRespuestaOrden r = TOrdenes::Ejecutar(linea, FVivo);
    Responder(r.Texto);
    if (r.Accion == aoSalir) {
        FSalir = true;
        return;
    }
    if (r.Accion != aoNinguna)
        for (TCliente& c : FClientes)
            c.Sesion->Anunciar(r.Accion, c.Salida);
}

void TServidor::AvanzarClientes()
{
    const TReloj::time_point ahora = TReloj::now();
    for (TCliente& c : FClientes) {
        if (c.Cerrar)
            continue;
        const std::size_t omitidos = c.Sesion->Omitidos();
        c.Sesion->Avanzar(std::chrono::duration<double>(ahora - c.Inicio).count(), FVivo, c.Salida);
        if (c.Sesion->Omitidos() != omitidos && omitidos == 0)
            Registrar("un evento del escenario no cabe en el protocolo y se omite (" + c.Nombre + ")");
        Enviar(c);
    }
}

void TServidor::Enviar(TCliente& cliente)
{
    while (!cliente.Salida.empty()) {
        const ssize_t n
            = ::send(cliente.Socket.Fd(), cliente.Salida.data(), cliente.Salida.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            cliente.Salida.erase(0, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
            break;
        Registrar("cliente desconectado: " + cliente.Nombre);
        cliente.Cerrar = true;
        return;
    }
    if (cliente.Salida.size() > SalidaMaxima) {
        Registrar("cliente desconectado por no leer a tiempo: " + cliente.Nombre);
        cliente.Cerrar = true;
    }
}

void TServidor::RetirarCerrados()
{
    const auto fin = std::remove_if(FClientes.begin(), FClientes.end(), [](const TCliente& c) { return c.Cerrar; });
    if (fin == FClientes.end())
        return;
    FClientes.erase(fin, FClientes.end());
    Registrar("clientes conectados: " + std::to_string(FClientes.size()));
}

} // namespace emulador
