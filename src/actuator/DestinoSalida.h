// Where the command byte goes, as written in gedanko.ini: "paralelo" (the
// port library), "serie:<device>[,<baud>]" or "udp:<host>:<port>[,<key>]",
// the key being the receiver's 32 hexadecimal digits that sign each frame
// (Trama.h). A pure parser: it opens nothing.
#pragma once

#include "Trama.h"

#include <QString>
#include <QStringView>
#include <cstdint>

class TDestinoSalida {
public:
    enum TTipo { tdParalelo, tdSerie, tdUdp };

    // Slower than this, a frame's bytes lie further apart than the receiver
    // allows (trama::PausaMaximaMs).
    static constexpr std::int32_t BaudiosMinimos = 2400;
    static constexpr std::int32_t BaudiosMaximos = 4000000;

    // False on a value that names no destination; MensajeError then says
    // why, and the destination stays the parallel port. Blank means the
    // parallel port, as does a missing key.
    bool Interpretar(QStringView texto);

    TTipo Tipo() const { return FTipo; }
    const QString& Dispositivo() const { return FDispositivo; }
    std::int32_t Baudios() const { return FBaudios; }
    const QString& Equipo() const { return FEquipo; }
    std::uint16_t Puerto() const { return FPuerto; }
    // All zero when the destination has no key.
    const trama::TClave& Clave() const { return FClave; }
    const QString& MensajeError() const { return FMensajeError; }

    // The destination as the operator reads it: "serie:/dev/ttyACM0,115200";
    // never the key.
    QString Texto() const;

private:
    bool InterpretarSerie(QStringView resto);
    bool InterpretarUdp(QStringView direccion);
    bool InterpretarClave(QStringView texto);
    bool Fallar(QStringView texto, const QString& causa);

    TTipo FTipo = tdParalelo;
    QString FDispositivo;
    std::int32_t FBaudios = 0;
    QString FEquipo;
    std::uint16_t FPuerto = 0;
    trama::TClave FClave = {};
    QString FMensajeError;
};
