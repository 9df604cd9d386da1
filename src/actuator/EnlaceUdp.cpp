#include "EnlaceUdp.h"

#include <QHostInfo>

TEnlaceUdp::TEnlaceUdp(QString equipo, std::uint16_t puerto) : FEquipo(std::move(equipo)), FPuerto(puerto) { }

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
}

bool TEnlaceUdp::Enviar(const std::uint8_t* bytes, int cuantos)
{
    if (FSocket.state() != QAbstractSocket::BoundState)
        return false;
    if (FSocket.writeDatagram(reinterpret_cast<const char*>(bytes), cuantos, FDireccion, FPuerto) != cuantos)
        return Fallar(QStringLiteral("no se puede enviar a %1: %2").arg(Nombre(), FSocket.errorString()));
    return true;
}
