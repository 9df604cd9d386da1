#include "EnlaceSerie.h"

#include <QFile>
#include <cerrno>
#include <unistd.h>

TEnlaceSerie::TEnlaceSerie(QString dispositivo, std::int32_t baudios)
    : FDispositivo(std::move(dispositivo)),
      FBaudios(baudios)
{
    QObject::connect(&FPuerto, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError error) {
        // A device that goes away while open reports a resource error.
        if (error == QSerialPort::ResourceError && FPuerto.isOpen()) {
            Fallar(QStringLiteral("%1 ya no responde (¿desconectado?)").arg(FDispositivo));
            Perdido();
        }
    });
}

bool TEnlaceSerie::Abrir()
{
    FPuerto.setPortName(FDispositivo);
    if (!FPuerto.open(QIODevice::WriteOnly))
        return Fallar(CausaApertura());
    const bool ajustado = FPuerto.setBaudRate(FBaudios) && FPuerto.setDataBits(QSerialPort::Data8)
                          && FPuerto.setParity(QSerialPort::NoParity) && FPuerto.setStopBits(QSerialPort::OneStop)
                          && FPuerto.setFlowControl(QSerialPort::NoFlowControl);
    if (!ajustado) {
        const QString causa = FPuerto.errorString();
        FPuerto.close();
        return Fallar(QStringLiteral("%1 no admite %2 baudios 8N1: %3").arg(FDispositivo).arg(FBaudios).arg(causa));
    }
    return true;
}

// Qt reports a busy device and a refused one alike; the file's access rights
// tell them apart.
QString TEnlaceSerie::CausaApertura() const
{
    switch (FPuerto.error()) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("no existe %1: conecte la placa o corrija Destino en gedanko.ini").arg(FDispositivo);
    case QSerialPort::PermissionError:
        if (::access(QFile::encodeName(FDispositivo).constData(), R_OK | W_OK) != 0 && errno == EACCES)
            return QStringLiteral("sin permiso en %1: añada el usuario al grupo dialout").arg(FDispositivo);
        return QStringLiteral("%1 está ocupado por otro programa").arg(FDispositivo);
    default:
        return QStringLiteral("no se puede abrir %1: %2").arg(FDispositivo, FPuerto.errorString());
    }
}

void TEnlaceSerie::Cerrar()
{
    FPuerto.close();
}

bool TEnlaceSerie::Enviar(const std::uint8_t* bytes, int cuantos)
{
    if (!FPuerto.isOpen())
        return false;
    if (FPuerto.write(reinterpret_cast<const char*>(bytes), cuantos) != cuantos)
        return Fallar(QStringLiteral("%1 no acepta más datos: %2").arg(FDispositivo, FPuerto.errorString()));
    // Out now, not at the next pass of the event loop.
    FPuerto.flush();
    return true;
}
