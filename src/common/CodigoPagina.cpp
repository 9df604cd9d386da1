#include "CodigoPagina.h"

#include <QFile>

#include <array>

namespace {

constexpr char Sustituto = '?'; // stands for a character the code page lacks

// Windows-1252 bytes 0x80..0x9F and the character each stands for; 0 marks
// the five bytes the code page leaves undefined.
constexpr std::array<char16_t, 32> Tabla80 = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char Byte(char32_t caracter)
{
    // NUL would cut the NUL-terminated texts handed to the engine.
    if (caracter == 0)
        return Sustituto;
    if (caracter < 0x80 || (caracter >= 0xA0 && caracter <= 0xFF))
        return static_cast<char>(caracter);
    for (std::size_t i = 0; i < Tabla80.size(); ++i)
        if (Tabla80[i] != 0 && Tabla80[i] == caracter)
            return static_cast<char>(0x80 + i);
    return Sustituto;
}

// Every character has its own byte in the code page; a real '?' counts.
bool CabeEnCodigoPagina(const QString& texto)
{
    for (const QChar c : texto)
        if (c.isSurrogate() || (Byte(c.unicode()) == Sustituto && c != QLatin1Char(Sustituto)))
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
            bytes.append(Sustituto);
        } else if (c.isSurrogate()) {
            bytes.append(Sustituto);
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
