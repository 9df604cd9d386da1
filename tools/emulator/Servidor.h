// The emulator's TCP server: one thread, one poll loop over the listening
// socket, the clients and the console (standard input). Each client gets
// the greeting and then its own playback of the scenario.
#pragma once

#include "Descriptor.h"
#include "Escenario.h"
#include "EstadoVivo.h"
#include "Opciones.h"
#include "Sesion.h"

#include <chrono>
#include <csignal>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace emulador {

class TServidor {
public:
    TServidor(const edk::TEscenario& escenario, const TOpciones& opciones);

    // Opens the listening socket; false with Error() set when it cannot.
    bool Escuchar();
    std::uint16_t Puerto() const { return FPuerto; }
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
    };

    void Aceptar();
    void LeerConsola();
    void Ordenar(const std::string& linea);
    void AvanzarClientes();
    void Enviar(TCliente& cliente);
    void Recibir(TCliente& cliente);
    void RetirarCerrados();

    const edk::TEscenario& FEscenario;
    const TOpciones& FOpciones;
    TDescriptor FEscucha;
    std::uint16_t FPuerto = 0;
    std::vector<TCliente> FClientes;
    TEstadoVivo FVivo;
    std::string FConsola; // console input not yet ending in a line break
    bool FConsolaAbierta = true;
    bool FSalir = false;
    std::string FError;
};

} // namespace emulador
