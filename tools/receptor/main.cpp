// gedanko-receptor: the vehicle's receiver on the host. Reads frames from a
// serial device, a pseudo-terminal or a UDP port, runs the board's own
// decoder and failsafe (Receptor.h), and prints the four outputs with a
// time stamp whenever they change:
//   12.345678 avance=1 retroceso=0 izquierda=0 derecha=0 enlace=1 ultima=12.345678
// "ultima" is when the last valid frame came. Times are seconds of the
// system's monotonic clock. Each wake-up reads everything waiting, so only
// the newest frame decides; a backlog left by a pause of the receiver
// itself is dropped unread, since its frames may no longer be current.
#include "FuenteBytes.h"
#include "Receptor.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <poll.h>
#include <string>
#include <vector>

namespace {

const char* const Uso
    = "uso: gedanko-receptor --pty | --serie DISPOSITIVO [--baudios N] | --udp [EQUIPO:]PUERTO [--clave CLAVE]\n";

// Microseconds of the monotonic clock; the receiver's milliseconds derive
// from it.
long long Microsegundos()
{
    timespec t {};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

std::uint32_t Milisegundos(long long microsegundos)
{
    return static_cast<std::uint32_t>(microsegundos / 1000);
}

void Mostrar(const TReceptor& receptor, long long ahora, long long ultima)
{
    const std::uint8_t s = receptor.Salidas();
    std::printf("%lld.%06lld avance=%d retroceso=%d izquierda=%d derecha=%d enlace=%d ultima=%lld.%06lld\n",
                ahora / 1000000, ahora % 1000000, (s & trama::BitAvance) ? 1 : 0, (s & trama::BitRetroceso) ? 1 : 0,
                (s & trama::BitIzquierda) ? 1 : 0, (s & trama::BitDerecha) ? 1 : 0, receptor.Enlace() ? 1 : 0,
                ultima / 1000000, ultima % 1000000);
}

[[noreturn]] void MostrarUso()
{
    std::fputs(Uso, stderr);
    std::exit(2);
}

bool Abrir(TFuenteBytes& fuente, TReceptor& receptor, int argc, char** argv)
{
    const std::string modo = argc > 1 ? argv[1] : "";
    if (modo == "--pty" && argc == 2)
        return fuente.AbrirPty();
    if (modo == "--udp" && argc == 5 && std::string(argv[3]) == "--clave") {
        trama::TClave clave {};
        if (!trama::LeerClave(argv[4], clave))
            MostrarUso();
        receptor.FijarClave(clave);
    }
    if (modo == "--udp" && (argc == 3 || argc == 5))
        return fuente.AbrirUdp(argv[2]);
    if (modo == "--serie" && (argc == 3 || (argc == 5 && std::string(argv[3]) == "--baudios")))
        return fuente.AbrirSerie(argv[2],
                                 argc == 5 ? static_cast<std::uint32_t>(std::atol(argv[4])) : trama::BaudiosPorDefecto);
    MostrarUso();
}

using TTrozos = std::vector<std::vector<std::uint8_t>>;

// Everything waiting, a datagram or a stretch of the stream each; false on
// a read error.
bool LeerTodo(TFuenteBytes& fuente, TTrozos& trozos)
{
    trozos.clear();
    std::uint8_t bytes[512];
    long leidos = 0;
    while ((leidos = fuente.Leer(bytes, sizeof bytes)) > 0)
        trozos.emplace_back(bytes, bytes + leidos);
    return leidos == 0;
}

// True when a valid frame was among them.
bool Recibir(TReceptor& receptor, const TTrozos& trozos, bool datagramas, std::uint32_t ahoraMs)
{
    const std::uint32_t tramas = receptor.TramasValidas();
    for (const std::vector<std::uint8_t>& trozo : trozos) {
        if (datagramas) {
            receptor.RecibirDatagrama(trozo.data(), static_cast<std::uint16_t>(trozo.size()), ahoraMs);
            continue;
        }
        for (std::uint8_t byte : trozo)
            receptor.Recibir(byte, ahoraMs);
    }
    return receptor.TramasValidas() != tramas;
}

// Over UDP, answers the newest frame taken, as the board does.
void Acusar(TFuenteBytes& fuente, const TReceptor& receptor)
{
    std::uint8_t acuse[trama::LongitudTrama];
    trama::CodificarAcuse(receptor.Secuencia(), receptor.Clave(), acuse);
    fuente.Responder(acuse, sizeof acuse);
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    TFuenteBytes fuente;
    TReceptor receptor;
    if (!Abrir(fuente, receptor, argc, argv)) {
        std::fprintf(stderr, "gedanko-receptor: %s\n", fuente.MensajeError().c_str());
        return 1;
    }
    std::fprintf(stderr, "gedanko-receptor: escuchando en %s\n", fuente.Nombre().c_str());
    std::fflush(stderr);

    long long ultima = 0;
    std::uint8_t salidas = receptor.Salidas();
    bool enlace = receptor.Enlace();
    Mostrar(receptor, Microsegundos(), ultima);
    // The clock is read before and after each wait and after each read:
    // a gap longer than expected between two readings means this process
    // was held up, and what waits may be that old.
    const long long retraso = trama::RetrasoMaximoLecturaMs * 1000LL;
    long long leidoAntes = Microsegundos();
    TTrozos trozos;
    for (;;) {
        // Wake when the failsafe is due, or at least once a second.
        const long long antes = Microsegundos();
        const std::uint32_t resto = receptor.RestoHastaCaducar(Milisegundos(antes));
        const int espera = resto > 0 ? static_cast<int>(resto) : 1000;
        pollfd p {fuente.Fd(), POLLIN, 0};
        ::poll(&p, 1, espera);
        const long long despues = Microsegundos();
        if (!LeerTodo(fuente, trozos)) {
            std::perror("gedanko-receptor: lectura");
            return 1;
        }
        const long long leido = Microsegundos();
        const bool atrasado
            = antes - leidoAntes > retraso || despues - antes > espera * 1000LL + retraso || leido - despues > retraso;
        leidoAntes = leido;
        if (atrasado) {
            receptor.Descartar();
        } else if (Recibir(receptor, trozos, fuente.Datagramas(), Milisegundos(leido))) {
            ultima = leido;
            Acusar(fuente, receptor);
        }
        receptor.Vigilar(Milisegundos(Microsegundos()));
        if (receptor.Salidas() != salidas || receptor.Enlace() != enlace) {
            salidas = receptor.Salidas();
            enlace = receptor.Enlace();
            Mostrar(receptor, Microsegundos(), ultima);
        }
    }
}
