// The emulator's TCP server: one thread, one poll loop over the listening
// socket, the clients, the console (standard input) and the OSC input. Each
// client gets the greeting and then its own playback of the scenario.
#pragma once

#include "Descriptor.h"
#include "EntradaOsc.h"
#include "Escenario.h"
#include "EstadoVivo.h"
#include "Grabadora.h"
#include "MapaOsc.h"
#include "Opciones.h"
#include "ReceptorOsc.h"
#include "Sesion.h"

#include <chrono>
#include <csignal>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace emulador {

class TServidor {
public:
    // 'mapa' is needed only with the OSC input on.
    TServidor(const edk::TEscenario& escenario, const TOpciones& opciones, const TMapaOsc* mapa = nullptr);

    // Opens the listening socket, the OSC input and the recording asked
    // for; false with Error() set when one cannot be opened.
    bool Escuchar();
    std::uint16_t Puerto() const { return FPuerto; }
    std::uint16_t PuertoOsc() const { return FReceptorOsc.Puerto(); }
    const std::string& Error() const { return FError; }

    // Serves until 'parar' becomes non-zero or the console says "salir".
    // Signals are expected blocked; they are let through only while the loop
    // waits in ppoll with 'mascaraEspera'.
    void Ejecutar(const sigset_t& mascaraEspera, const volatile std::sig_atomic_t& parar);

private:
    using TReloj = std::chrono::steady_clock;

    struct TCliente {
        TDescriptor Socket;
        std::string Nombre; // address:port, for the log
        TReloj::time_point Inicio;
        std::unique_ptr<TSesion> Sesion;
        std::string Salida; // lines not yet taken by the socket
        bool Cerrar = false;
        bool Grabado = false; // the recording follows this client
    };

    void Aceptar();
    void LeerConsola();
    void LeerOsc();
    bool Aceptable(const sockaddr_in& origen);
    void RevisarOsc(TReloj::time_point ahora);
    void Anunciar(TAccionOrden accion);
    void Anotar(TCliente& cliente, std::size_t desde);
    void DejarDeGrabar(const std::string& motivo);
    void Ordenar(const std::string& linea);
    void AvanzarClientes(TReloj::time_point ahora);
    void Enviar(TCliente& cliente);
    void Recibir(TCliente& cliente);
    void RetirarCerrados();

    const edk::TEscenario& FEscenario;
    const TOpciones& FOpciones;
    TDescriptor FEscucha;
    std::uint16_t FPuerto = 0;
    std::vector<TCliente> FClientes;
    TEstadoVivo FVivo;
    const TMapaOsc* FMapa;
    std::unique_ptr<TEntradaOsc> FEntradaOsc;
    TReceptorOsc FReceptorOsc;
    std::vector<unsigned char> FPaquete;
    bool FCambioInmediato = false;
    std::string FEmisorOsc; // address:port of the first OSC sender
    std::set<std::string> FOtrosEmisoresOsc; // senders already warned about
    TGrabadora FGrabadora;
    bool FGrabacionAsignada = false;
    std::string FConsola; // console input not yet ending in a line break
    bool FConsolaAbierta = true;
    bool FSalir = false;
    std::string FError;
};

} // namespace emulador
