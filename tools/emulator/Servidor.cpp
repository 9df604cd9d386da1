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
    // Places in the poll list; the clients follow.
    constexpr std::size_t IndiceEscucha = 0;
    constexpr std::size_t IndiceConsola = 1;
    constexpr std::size_t IndiceOsc = 2;
    constexpr std::size_t PrimerCliente = 3;
    // Longest and shortest wait of one pass, in seconds.
    constexpr double EsperaMaxima = 0.5;
    constexpr double EsperaMinima = 0.001;
    constexpr double EsperaOscMaxima = 0.01;
    // Packets taken per pass, so a flood never starves the clients.
    constexpr int PaquetesOscPorPasada = 64;
    // Senders named in warnings, at most.
    constexpr std::size_t EmisoresOscAvisados = 32;

    double Segundos(std::chrono::steady_clock::time_point t)
    {
        return std::chrono::duration<double>(t.time_since_epoch()).count();
    }

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

TServidor::TServidor(const edk::TEscenario& escenario, const TOpciones& opciones, const TMapaOsc* mapa)
    : FEscenario(escenario),
      FOpciones(opciones),
      FMapa(mapa)
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
    if (FOpciones.PuertoOsc && FMapa) {
        if (!FReceptorOsc.Abrir(*FOpciones.PuertoOsc)) {
            FError = FReceptorOsc.Error();
            return false;
        }
        FEntradaOsc = std::make_unique<TEntradaOsc>(*FMapa, Segundos(TReloj::now()));
    }
    if (!FOpciones.Grabar.empty() && !FGrabadora.Abrir(FOpciones.Grabar)) {
        FError = FGrabadora.Error();
        return false;
    }
    return true;
}

void TServidor::Ejecutar(const sigset_t& mascaraEspera, const volatile std::sig_atomic_t& parar)
{
    const double periodo = 1.0 / FOpciones.Tasa;
    // With OSC on, pulse holds and the freshness watch end on time at any rate.
    const double maxima = FEntradaOsc ? EsperaOscMaxima : EsperaMaxima;
    const timespec espera {0, static_cast<long>(std::clamp(periodo, EsperaMinima, maxima) * 1e9)};
    std::vector<pollfd> fds;
    while (!parar && !FSalir) {
        fds.clear();
        fds.push_back({FEscucha.Fd(), POLLIN, 0});
        fds.push_back({FConsolaAbierta ? STDIN_FILENO : -1, POLLIN, 0});
        fds.push_back({FReceptorOsc.Fd(), POLLIN, 0});
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
                if (fds[i + PrimerCliente].revents & (POLLIN | POLLHUP | POLLERR))
                    Recibir(FClientes[i]);
            if (fds[IndiceConsola].revents & (POLLIN | POLLHUP | POLLERR))
                LeerConsola();
            if (fds[IndiceOsc].revents & POLLIN)
                LeerOsc();
            if (fds[IndiceEscucha].revents & POLLIN)
                Aceptar();
        }
        // One moment for the whole pass: the head's movement is summed up to
        // the very time the EmoStates are served at.
        const TReloj::time_point ahora = TReloj::now();
        RevisarOsc(ahora);
        AvanzarClientes(ahora);
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
    c.Grabado = FGrabadora.Activa() && !FGrabacionAsignada;
    FGrabacionAsignada = FGrabacionAsignada || c.Grabado;
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
        Anunciar(r.Accion);
}

void TServidor::Anunciar(TAccionOrden accion)
{
    for (TCliente& c : FClientes) {
        const std::size_t desde = c.Salida.size();
        c.Sesion->Anunciar(accion, c.Salida);
        Anotar(c, desde);
    }
}

void TServidor::LeerOsc()
{
    std::size_t tamano = 0;
    sockaddr_in origen {};
    for (int i = 0; i < PaquetesOscPorPasada && FReceptorOsc.Recibir(FPaquete, tamano, origen); ++i)
        if (Aceptable(origen))
            FCambioInmediato
                = FEntradaOsc->Paquete(FPaquete.data(), tamano, Segundos(TReloj::now()), FVivo) || FCambioInmediato;
}

bool TServidor::Aceptable(const sockaddr_in& origen)
{
    // Two senders mix their commands: the operator is told once per sender,
    // and --osc-desde keeps all but one out.
    const std::string nombre = NombreDe(origen);
    const bool fuera = FOpciones.OscDesde && ntohl(origen.sin_addr.s_addr) != *FOpciones.OscDesde;
    if (fuera || FEmisorOsc.empty() || nombre == FEmisorOsc) {
        if (!fuera && FEmisorOsc.empty())
            FEmisorOsc = nombre;
        if (fuera && FOtrosEmisoresOsc.size() < EmisoresOscAvisados && FOtrosEmisoresOsc.insert(nombre).second)
            Registrar("aviso: se descartan los datos OSC de " + nombre + " (solo se aceptan de "
                      + FOpciones.OscDesdeTexto + ", --osc-desde)");
        return !fuera;
    }
    if (FOtrosEmisoresOsc.size() < EmisoresOscAvisados && FOtrosEmisoresOsc.insert(nombre).second)
        Registrar("aviso: llegan datos OSC de otro emisor, " + nombre + ", además de " + FEmisorOsc
                  + ": sus órdenes se mezclan; con --osc-desde IP solo se aceptan los de uno");
    return true;
}

void TServidor::RevisarOsc(TReloj::time_point ahora)
{
    if (!FEntradaOsc)
        return;
    FCambioInmediato = FEntradaOsc->Revisar(Segundos(ahora), FVivo) || FCambioInmediato;
    for (const std::string& aviso : FEntradaOsc->TomarAvisos())
        Registrar(aviso);
    for (const TAccionOrden accion : FEntradaOsc->TomarAcciones())
        Anunciar(accion);
}

void TServidor::Anotar(TCliente& cliente, std::size_t desde)
{
    if (!cliente.Grabado || !FGrabadora.Activa())
        return;
    std::size_t inicio = desde;
    for (std::size_t fin = cliente.Salida.find('\n', inicio); fin != std::string::npos;
         fin = cliente.Salida.find('\n', inicio)) {
        if (!FGrabadora.Linea(std::string_view(cliente.Salida).substr(inicio, fin - inicio))) {
            DejarDeGrabar(FGrabadora.Error());
            return;
        }
        inicio = fin + 1;
    }
}

void TServidor::DejarDeGrabar(const std::string& motivo)
{
    FGrabadora.Cerrar();
    Registrar(motivo + " (" + FOpciones.Grabar + ")");
}

void TServidor::AvanzarClientes(TReloj::time_point ahora)
{
    for (TCliente& c : FClientes) {
        if (c.Cerrar)
            continue;
        const std::size_t omitidos = c.Sesion->Omitidos();
        const std::size_t desde = c.Salida.size();
        c.Sesion->Avanzar(std::chrono::duration<double>(ahora - c.Inicio).count(), FVivo, c.Salida, FCambioInmediato);
        Anotar(c, desde);
        if (c.Sesion->Omitidos() != omitidos && omitidos == 0)
            Registrar("un evento del escenario no cabe en el protocolo y se omite (" + c.Nombre + ")");
        Enviar(c);
    }
    FCambioInmediato = false;
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
    if (FGrabadora.Activa()
        && std::any_of(FClientes.begin(), FClientes.end(), [](const TCliente& c) { return c.Cerrar && c.Grabado; }))
        DejarDeGrabar("grabación terminada: el cliente grabado se ha ido");
    const auto fin = std::remove_if(FClientes.begin(), FClientes.end(), [](const TCliente& c) { return c.Cerrar; });
    if (fin == FClientes.end())
        return;
    FClientes.erase(fin, FClientes.end());
    Registrar("clientes conectados: " + std::to_string(FClientes.size()));
}

} // namespace emulador
