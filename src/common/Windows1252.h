// The 8-bit code page Windows-1252, in which the program hands texts to the
// engine and saves its log. A byte below 0x80 or from 0xA0 up stands for the
// character of the same number; the bytes in between follow the table.
#pragma once

#include <array>
#include <cstddef>

// Stands for a character or a byte the code page does not define.
constexpr char SustitutoCodigoPagina = '?';

// Bytes 0x80..0x9F and the character each stands for; 0 marks the five
// bytes the code page leaves undefined.
constexpr unsigned char InicioTabla1252 = 0x80;
constexpr std::array<char16_t, 32> Tabla1252 = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The character a byte stands for; the substitute for an undefined byte.
constexpr char32_t CaracterDe1252(unsigned char byte)
{
    if (byte < InicioTabla1252 || byte >= InicioTabla1252 + Tabla1252.size())
        return byte;
    const char16_t caracter = Tabla1252[byte - InicioTabla1252];
    return caracter != 0 ? caracter : char32_t(SustitutoCodigoPagina);
}

// The byte of a character; false when the code page has none for it.
constexpr bool ByteDe1252(char32_t caracter, unsigned char& byte)
{
    if (caracter < InicioTabla1252 || (caracter >= InicioTabla1252 + Tabla1252.size() && caracter <= 0xFF)) {
        byte = static_cast<unsigned char>(caracter);
        return true;
    }
    for (std::size_t i = 0; i < Tabla1252.size(); ++i)
        if (Tabla1252[i] != 0 && Tabla1252[i] == caracter) {
            byte = static_cast<unsigned char>(InicioTabla1252 + i);
            return true;
        }
    return false;
}
