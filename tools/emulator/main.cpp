// gedanko-emulador: a stand-in for the remote headset emulator. It plays a
// scenario to every program that connects and takes live changes from its
// console and, with --osc, from an OSC stream.
#include "Escenario.h"
#include "MapaOsc.h"
#include "Opciones.h"
#include "Servidor.h"

#include <csignal>
#include <cstdio>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t Parar = 0;

// What an OSC drive starts from before the stream says otherwise: a neutral,
// well-fitted headset with full signal, and no battery reading (an idle gauge).
constexpr const char* EscenarioReposo = "0 senal 2\n0 contactos 4\n0 bateria 0 0\n0 alta 0\n";

extern "C" void AlRecibirSenal(int)
{
    Parar = 1;
}

// Started with a standard stream closed, the first socket would take its
// number and be read as the console: put /dev/null in its place.
void AsegurarFlujosEstandar()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd)
        if (::fcntl(fd, F_GETFD) == -1 && ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY) != fd)
            return;
}

} // namespace

int main(int argc, char** argv)
{
    AsegurarFlujosEstandar();
    emulador::TOpciones opciones;
    if (!opciones.Leer(argc, argv)) {
        std::fprintf(stderr, "gedanko-emulador: %s\nPruebe \"gedanko-emulador --help\".\n", opciones.Error().c_str());
        return 2;
    }
    if (opciones.Ayuda) {
        std::fputs(emulador::TOpciones::Uso().c_str(), stdout);
        return 0;
    }

    edk::TEscenario leido;
    if (!opciones.Escenario.empty() && !leido.LeerFichero(opciones.Escenario)) {
        std::fprintf(stderr, "gedanko-emulador: escenario no válido %s:\n%s\n", opciones.Escenario.c_str(),
                     leido.Error().c_str());
        return 2;
    }
    emulador::TMapaOsc mapa;
    if (opciones.PuertoOsc) {
        if (!mapa.Cargar(opciones.Mapa)) {
            std::fprintf(stderr, "gedanko-emulador: mapa OSC no válido %s:\n%s\n", opciones.Mapa.c_str(),
                         mapa.Error().c_str());
            return 2;
        }
        if (opciones.Escenario.empty())
            leido.Leer(EscenarioReposo);
    }
    const bool demo = opciones.Escenario.empty() && !opciones.PuertoOsc;
    const edk::TEscenario& escenario = demo ? edk::TEscenario::Demo() : leido;

    // A reader that goes away must never kill the server.
    std::signal(SIGPIPE, SIG_IGN);
    // Ctrl-C and SIGTERM are held back except while the loop waits, so the
    // loop notices them at once and stops in order.
    sigset_t bloqueadas;
    sigset_t original;
    sigemptyset(&bloqueadas);
    sigaddset(&bloqueadas, SIGINT);
    sigaddset(&bloqueadas, SIGTERM);
    sigprocmask(SIG_BLOCK, &bloqueadas, &original);
    struct sigaction accion { };
    accion.sa_handler = AlRecibirSenal;
    sigemptyset(&accion.sa_mask);
    sigaction(SIGINT, &accion, nullptr);
    sigaction(SIGTERM, &accion, nullptr);
    sigset_t espera = original;
    sigdelset(&espera, SIGINT);
    sigdelset(&espera, SIGTERM);

    emulador::TServidor servidor(escenario, opciones, &mapa);
    if (!servidor.Escuchar()) {
        std::fprintf(stderr, "gedanko-emulador: %s\n", servidor.Error().c_str());
        return 1;
    }
    std::fprintf(stderr,
                 "gedanko-emulador: escuchando en %s:%u (escenario: %s, %g estados por segundo, %s)\n"
                 "gedanko-emulador: escriba \"ayuda\" para ver las órdenes\n",
                 opciones.Direccion.c_str(), static_cast<unsigned>(servidor.Puerto()),
                 demo                         ? "demostración"
                 : opciones.Escenario.empty() ? "casco en reposo"
                                              : opciones.Escenario.c_str(),
                 opciones.Tasa, opciones.Bucle ? "en bucle" : "sin bucle");
    if (opciones.PuertoOsc) {
        const bool incorporado = !emulador::TMapaOsc::TextoIncorporado(opciones.Mapa).empty();
        std::fprintf(stderr, "gedanko-emulador: escuchando OSC en UDP 0.0.0.0:%u (mapa: %s %s%s%s)\n",
                     static_cast<unsigned>(servidor.PuertoOsc()), incorporado ? "incorporado" : "del fichero",
                     opciones.Mapa.c_str(), opciones.OscDesde ? "; solo desde " : "", opciones.OscDesdeTexto.c_str());
        // A file of the same name in the current folder is not the one used: say so.
        if (incorporado && ::access(opciones.Mapa.c_str(), F_OK) == 0)
            std::fprintf(stderr,
                         "gedanko-emulador: aviso: hay un fichero '%s' en la carpeta actual, pero se usa el mapa "
                         "incorporado; para usar el fichero: --mapa ./%s\n",
                         opciones.Mapa.c_str(), opciones.Mapa.c_str());
    }
    if (!opciones.Grabar.empty())
        std::fprintf(stderr, "gedanko-emulador: grabando los estados del primer cliente en %s\n",
                     opciones.Grabar.c_str());
    std::fflush(stderr);
    servidor.Ejecutar(espera, Parar);
    return 0;
}
