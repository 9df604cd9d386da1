#include "DestinoSalida.h"

namespace {

const QString PrefijoSerie = QStringLiteral("serie:");
const QString PrefijoUdp = QStringLiteral("udp:");
const QString NombreParalelo = QStringLiteral("paralelo");

// Only plain decimal digits: "0x10" or "+5" in a baud rate or port is a typo.
bool Digitos(QStringView texto)
{
    if (texto.isEmpty() || texto.size() > 9)
        return false;
    for (QChar c : texto)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

} // namespace

bool TDestinoSalida::Interpretar(QStringView texto)
{
    *this = TDestinoSalida();
    const QStringView limpio = texto.trimmed();
    if (limpio.isEmpty() || limpio.compare(NombreParalelo, Qt::CaseInsensitive) == 0)
        return true;
    if (limpio.startsWith(PrefijoSerie, Qt::CaseInsensitive))
        return InterpretarSerie(limpio.mid(PrefijoSerie.size())) || Fallar(limpio, FMensajeError);
    if (limpio.startsWith(PrefijoUdp, Qt::CaseInsensitive))
        return InterpretarUdp(limpio.mid(PrefijoUdp.size())) || Fallar(limpio, FMensajeError);
    return Fallar(limpio, QStringLiteral("use paralelo, serie:/dev/ttyACM0[,baudios] o udp:equipo:puerto"));
}

bool TDestinoSalida::InterpretarSerie(QStringView resto)
{
    const qsizetype coma = resto.indexOf(u',');
    const QStringView dispositivo = (coma < 0 ? resto : resto.left(coma)).trimmed();
    if (!dispositivo.startsWith(u'/') || dispositivo.size() < 2) {
        FMensajeError = QStringLiteral("el dispositivo serie debe ser una ruta como /dev/ttyACM0");
        return false;
    }
    auto baudios = static_cast<std::int32_t>(trama::BaudiosPorDefecto);
    if (coma >= 0) {
        const QStringView texto = resto.mid(coma + 1).trimmed();
        const std::int32_t valor = Digitos(texto) ? texto.toInt() : 0;
        if (valor < BaudiosMinimos || valor > BaudiosMaximos) {
            FMensajeError
                = QStringLiteral("velocidad serie no válida (%1..%2 baudios)").arg(BaudiosMinimos).arg(BaudiosMaximos);
            return false;
        }
        baudios = valor;
    }
    FTipo = tdSerie;
    FDispositivo = dispositivo.toString();
    FBaudios = baudios;
    return true;
}

bool TDestinoSalida::InterpretarUdp(QStringView direccion)
{
    const qsizetype coma = direccion.indexOf(u',');
    if (coma >= 0 && !InterpretarClave(direccion.mid(coma + 1).trimmed()))
        return false;
    const QStringView resto = coma < 0 ? direccion : direccion.left(coma);
    const qsizetype dosPuntos = resto.lastIndexOf(u':');
    const QStringView equipo = dosPuntos < 0 ? QStringView() : resto.left(dosPuntos).trimmed();
    const QStringView puerto = dosPuntos < 0 ? QStringView() : resto.mid(dosPuntos + 1).trimmed();
    if (equipo.isEmpty() || equipo.contains(u' ') || equipo.contains(u':')) {
        FMensajeError = QStringLiteral("falta el equipo: udp:192.168.4.1:4210");
        return false;
    }
    const int valor = Digitos(puerto) ? puerto.toInt() : 0;
    if (valor < 1 || valor > 65535) {
        FMensajeError = QStringLiteral("puerto UDP no válido (1..65535)");
        return false;
    }
    FTipo = tdUdp;
    FEquipo = equipo.toString();
    FPuerto = static_cast<std::uint16_t>(valor);
    return true;
}

bool TDestinoSalida::InterpretarClave(QStringView texto)
{
    if (!trama::LeerClave(texto.toLatin1().constData(), FClave)) {
        FMensajeError = QStringLiteral("la clave debe tener %1 cifras hexadecimales y no ser todo ceros")
                            .arg(trama::DigitosClave);
        return false;
    }
    return true;
}

// The message is made before the reset: `causa` may be FMensajeError itself.
bool TDestinoSalida::Fallar(QStringView texto, const QString& causa)
{
    const QString mensaje = QStringLiteral("Destino de salida no válido «%1»: %2").arg(texto.toString(), causa);
    *this = TDestinoSalida();
    FMensajeError = mensaje;
    return false;
}

QString TDestinoSalida::Texto() const
{
    switch (FTipo) {
    case tdSerie:
        return PrefijoSerie + FDispositivo + QLatin1Char(',') + QString::number(FBaudios);
    case tdUdp:
        return PrefijoUdp + FEquipo + QLatin1Char(':') + QString::number(FPuerto);
    case tdParalelo:
        break;
    }
    return NombreParalelo;
}
