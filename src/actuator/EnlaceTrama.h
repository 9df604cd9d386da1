// A link that carries frames to the vehicle's receiver: a serial device or
// a UDP socket. Opening it names the device and the cause on failure.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

class TEnlaceTrama {
public:
    virtual ~TEnlaceTrama() = default;

    // False when it cannot be opened; MensajeError then names the device and
    // the cause.
    virtual bool Abrir() = 0;
    virtual void Cerrar() = 0;
    // False when the bytes could not go out (the link is then lost).
    virtual bool Enviar(const std::uint8_t* bytes, int cuantos) = 0;

    // False once a receiver that answers each frame has not answered for a
    // while; a link without answers always says true.
    virtual bool Responde() { return true; }

    const QString& MensajeError() const { return FMensajeError; }
    // Run when the link breaks on its own (a device unplugged).
    void FijarAlPerder(std::function<void()> alPerder) { FAlPerder = std::move(alPerder); }

protected:
    bool Fallar(const QString& mensaje)
    {
        FMensajeError = mensaje;
        return false;
    }
    void Perdido()
    {
        if (FAlPerder)
            FAlPerder();
    }

private:
    QString FMensajeError;
    std::function<void()> FAlPerder;
};
