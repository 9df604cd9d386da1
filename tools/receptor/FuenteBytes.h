// Where gedanko-receptor reads frames from: a serial device, a new
// pseudo-terminal (the program opens its other end) or a UDP port. Plain
// POSIX; every descriptor is owned.
#pragma once

#include "Descriptor.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/socket.h>

class TFuenteBytes {
public:
    // Each false with FMensajeError set.
    bool AbrirSerie(const std::string& dispositivo, std::uint32_t baudios);
    bool AbrirPty();
    // "port" or "host:port"; port 0 takes a free one.
    bool AbrirUdp(const std::string& direccion);

    int Fd() const { return FFd.Fd(); }
    // What the sender should open: the pty's other end, or "host:port".
    const std::string& Nombre() const { return FNombre; }
    const std::string& MensajeError() const { return FMensajeError; }
    // UDP: each read is one datagram.
    bool Datagramas() const { return FDatagramas; }

    // Reads what is there (one datagram at most); -1 on an error, 0 when
    // nothing came.
    long Leer(std::uint8_t* destino, std::size_t capacidad);
    // UDP: sends `bytes` to where the last datagram came from.
    void Responder(const std::uint8_t* bytes, std::size_t cuantos);

private:
    bool Fallar(const std::string& mensaje);

    TDescriptor FFd;
    // The pty's other end stays open here so that a sender that dies never
    // turns the reading end into an error.
    TDescriptor FEsclavo;
    bool FDatagramas = false;
    sockaddr_storage FRemitente {};
    socklen_t FLargoRemitente = 0;
    std::string FNombre;
    std::string FMensajeError;
};
