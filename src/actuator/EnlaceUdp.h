// Frames as UDP datagrams (an ESP32 or any receiver on the network), one
// frame per datagram.
#pragma once

#include "EnlaceTrama.h"

#include <QHostAddress>
#include <QUdpSocket>
#include <cstdint>

class TEnlaceUdp : public TEnlaceTrama {
public:
    TEnlaceUdp(QString equipo, std::uint16_t puerto);

    bool Abrir() override;
    void Cerrar() override;
    bool Enviar(const std::uint8_t* bytes, int cuantos) override;

private:
    QString Nombre() const;

    QString FEquipo;
    std::uint16_t FPuerto;
    QHostAddress FDireccion;
    QUdpSocket FSocket;
};
