// Frames as UDP datagrams (an ESP32 or any receiver on the network), one
// frame per datagram. The receiver answers each frame it takes (Trama.h);
// no valid answer for a while means it is gone, which nothing else tells:
// ICMP errors do not reach the sender.
#pragma once

#include "EnlaceTrama.h"
#include "Trama.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QUdpSocket>
#include <cstdint>

class TEnlaceUdp : public TEnlaceTrama {
public:
    static constexpr int EsperaRespuestaMs = 1000;

    TEnlaceUdp(QString equipo, std::uint16_t puerto, const trama::TClave& clave = {});

    bool Abrir() override;
    void Cerrar() override;
    bool Enviar(const std::uint8_t* bytes, int cuantos) override;
    bool Responde() override;

private:
    QString Nombre() const;
    void LeerRespuestas();

    QString FEquipo;
    std::uint16_t FPuerto;
    QHostAddress FDireccion;
    QUdpSocket FSocket;
    trama::TClave FClave;
    // Since the first frame after opening, and since the last answer.
    QElapsedTimer FEnviando;
    QElapsedTimer FUltimaRespuesta;
};
