// Frames over a serial device (USB serial of an Arduino-compatible board or
// a pseudo-terminal), 8N1 without flow control.
#pragma once

#include "EnlaceTrama.h"

#include <QSerialPort>
#include <cstdint>

class TEnlaceSerie : public TEnlaceTrama {
public:
    TEnlaceSerie(QString dispositivo, std::int32_t baudios);

    bool Abrir() override;
    void Cerrar() override;
    bool Enviar(const std::uint8_t* bytes, int cuantos) override;

private:
    QString CausaApertura() const;

    QString FDispositivo;
    std::int32_t FBaudios;
    QSerialPort FPuerto;
};
