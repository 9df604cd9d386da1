// A tiny TCP server on a loopback ephemeral port for the link tests: it
// accepts one client and writes whatever the test hands it. Every wait is
// bounded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <thread>

class TServidorPrueba {
public:
    TServidorPrueba(); // listens on 127.0.0.1, port chosen by the system
    ~TServidorPrueba();
    TServidorPrueba(const TServidorPrueba&) = delete;
    TServidorPrueba& operator=(const TServidorPrueba&) = delete;

    std::uint16_t Puerto() const { return FPuerto; }
    bool Aceptar(int esperaMs = 2000);
    // Accepts and writes 'primero' on a thread of its own, for a client whose
    // connect waits for the server's first line; Atendido() tells whether
    // both worked.
    void AtenderEnParalelo(std::string primero);
    bool Atendido();
    bool Enviar(std::string_view texto);
    void CerrarCliente();

private:
    int FEscucha = -1;
    int FCliente = -1;
    std::uint16_t FPuerto = 0;
    std::thread FAtencion;
    bool FAtendido = false;
};

// A loopback port held bound but not listening, so connecting is refused.
class TPuertoSinEscucha {
public:
    TPuertoSinEscucha();
    ~TPuertoSinEscucha();
    TPuertoSinEscucha(const TPuertoSinEscucha&) = delete;
    TPuertoSinEscucha& operator=(const TPuertoSinEscucha&) = delete;
    std::uint16_t Puerto() const { return FPuerto; }

private:
    int FFd = -1;
    std::uint16_t FPuerto = 0;
};
