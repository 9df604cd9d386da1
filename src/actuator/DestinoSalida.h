// Where the command byte goes, as written in gedanko.ini: "paralelo" (the
// port library), "serie:<device>[,<baud>]" or "udp:<host>:<port>". A pure
// parser: it opens nothing.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

class TDestinoSalida {
public:
    enum TTipo { tdParalelo, tdSerie, tdUdp };

    static constexpr std::int32_t BaudiosMinimos = 50;
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
    const QString& MensajeError() const { return FMensajeError; }

    // The destination as the operator reads it: "serie:/dev/ttyACM0,115200".
    QString Texto() const;

private:
    bool InterpretarSerie(QStringView resto);
    bool InterpretarUdp(QStringView resto);
    bool Fallar(QStringView texto, const QString& causa);

    TTipo FTipo = tdParalelo;
    QString FDispositivo;
    std::int32_t FBaudios = 0;
    QString FEquipo;
    std::uint16_t FPuerto = 0;
    QString FMensajeError;
};
