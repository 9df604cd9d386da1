#include "CodigoPagina.h"
#include "Windows1252.h"

#include <QFile>

namespace {

char Byte(char32_t caracter)
{
    // NUL would cut the NUL-terminated texts handed to the engine.
    unsigned char byte = 0;
    if (caracter == 0 || !ByteDe1252(caracter, byte))
        return SustitutoCodigoPagina;
    return static_cast<char>(byte);
}

// Every character has its own byte in the code page; a real '?' counts.
bool CabeEnCodigoPagina(const QString& texto)
{
    for (const QChar c : texto)
        if (c.isSurrogate() || (Byte(c.unicode()) == SustitutoCodigoPagina && c != QLatin1Char(SustitutoCodigoPagina)))
            return false;
    return true;
}

} // namespace

QByteArray ACodigoPagina(const QString& texto)
{
    QByteArray bytes;
    bytes.reserve(texto.size());
    for (qsizetype i = 0; i < texto.size(); ++i) {
        QChar c = texto[i];
        if (c.isHighSurrogate() && i + 1 < texto.size() && texto[i + 1].isLowSurrogate()) {
            ++i; // a pair is one character outside the code page
            bytes.append(SustitutoCodigoPagina);
        } else if (c.isSurrogate()) {
            bytes.append(SustitutoCodigoPagina);
        } else {
            bytes.append(Byte(c.unicode()));
        }
    }
    return bytes;
}

QByteArray ANombreFichero(const QString& fichero)
{
    return CabeEnCodigoPagina(fichero) ? ACodigoPagina(fichero) : QFile::encodeName(fichero);
}
