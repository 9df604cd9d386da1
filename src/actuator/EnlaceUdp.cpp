#include "EnlaceUdp.h"

#include <QHostInfo>

TEnlaceUdp::TEnlaceUdp(QString equipo, std::uint16_t puerto, const trama::TClave& clave)
    : FEquipo(std::move(equipo)),
      FPuerto(puerto),
      FClave(clave)
{
}

QString TEnlaceUdp::Nombre() const
{
    return FEquipo + QLatin1Char(':') + QString::number(FPuerto);
}

bool TEnlaceUdp::Abrir()
{
    FDireccion = QHostAddress(FEquipo);
    if (FDireccion.isNull()) {
        // A name is looked up once, at opening.
        const QList<QHostAddress> direcciones = QHostInfo::fromName(FEquipo).addresses();
        if (direcciones.isEmpty())
            return Fallar(QStringLiteral("no se encuentra el equipo %1: revise Destino en gedanko.ini").arg(FEquipo));
        FDireccion = direcciones.front();
    }
    const QHostAddress local
        = FDireccion.protocol() == QAbstractSocket::IPv6Protocol ? QHostAddress::AnyIPv6 : QHostAddress::AnyIPv4;
    if (FSocket.state() != QAbstractSocket::BoundState && !FSocket.bind(local, 0))
        return Fallar(
            QStringLiteral("no se puede abrir un socket UDP hacia %1: %2").arg(Nombre(), FSocket.errorString()));
    return true;
}

void TEnlaceUdp::Cerrar()
{
    FSocket.close();
    FEnviando.invalidate();
    FUltimaRespuesta.invalidate();
}

bool TEnlaceUdp::Enviar(const std::uint8_t* bytes, int cuantos)
{
    if (FSocket.state() != QAbstractSocket::BoundState)
        return false;
    if (FSocket.writeDatagram(reinterpret_cast<const char*>(bytes), cuantos, FDireccion, FPuerto) != cuantos)
        return Fallar(QStringLiteral("no se puede enviar a %1: %2").arg(Nombre(), FSocket.errorString()));
    if (!FEnviando.isValid())
        FEnviando.start();
    return true;
}

bool TEnlaceUdp::Responde()
{
    LeerRespuestas();
    if (!FEnviando.isValid() || FEnviando.elapsed() < EsperaRespuestaMs)
        return true;
    return FUltimaRespuesta.isValid() && FUltimaRespuesta.elapsed() < EsperaRespuestaMs;
}

// Anything else that comes (a stranger's datagram, a bad answer) is dropped.
void TEnlaceUdp::LeerRespuestas()
{
    while (FSocket.hasPendingDatagrams()) {
        std::uint8_t bytes[trama::LongitudTrama + 1];
        const qint64 leidos = FSocket.readDatagram(reinterpret_cast<char*>(bytes), sizeof bytes);
        if (leidos == trama::LongitudTrama && trama::ComprobarAcuse(FClave, bytes))
            FUltimaRespuesta.start();
    }
}
