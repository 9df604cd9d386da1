// Log texts and the bytes a saved log holds for them: lines end in CR LF and
// characters go through the Windows-1252 code page. Shared by the tests of
// the file writer and of the window's save action.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <vector>

struct TCasoGuardado {
    std::vector<const char*> Entradas;
    QByteArray Bytes;
};

inline const std::vector<TCasoGuardado>& CasosGuardado()
{
    static const std::vector<TCasoGuardado> casos = {
        {{}, QByteArray()},
        {{"A", "B"}, QByteArray("A\r\nB\r\n")},
        {{"uno\ndos", "tres"}, QByteArray("uno\r\ndos\r\ntres\r\n")},
        {{"", ""}, QByteArray("\r\n\r\n")},
        {{"5 €, Optimización"}, QByteArray("5 \x80, Optimizaci\xf3n\r\n")},
        {{"perfil \u4e2d\u6587.emu"}, QByteArray("perfil ??.emu\r\n")},
        {{"Perfil:\nC:\\Perfiles\\juan.emu", "Calibración €"},
         QByteArray("Perfil:\r\nC:\\Perfiles\\juan.emu\r\nCalibraci\xf3n \x80\r\n")},
    };
    return casos;
}

inline QByteArray LeerFichero(const QString& ruta)
{
    QFile fichero(ruta);
    return fichero.open(QIODevice::ReadOnly) ? fichero.readAll() : QByteArray("<no se puede leer>");
}
