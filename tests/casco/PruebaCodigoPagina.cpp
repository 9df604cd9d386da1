// Conversion to Windows-1252: Latin-1, the 0x80..0x9F block, and '?' for
// every character outside the code page.
#include "CodigoPagina.h"

#include <gtest/gtest.h>

namespace {

TEST(CodigoPagina, ConvertsEachCharacter)
{
    struct {
        QString Texto;
        QByteArray Esperado;
    } casos[] = {
        {QStringLiteral("127.0.0.1"), QByteArray("127.0.0.1")},
        {QString(), QByteArray()},
        {QStringLiteral("Perfil Ñandú.emu"), QByteArray("Perfil \xD1"
                                                        "and\xFA.emu")},
        {QString(QChar(0x00A0)) + QChar(0x00FF), QByteArray("\xA0\xFF")},
        {QStringLiteral("€‚ƒ„…†‡ˆ‰Š‹ŒŽ"), QByteArray("\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E")},
        {QStringLiteral("‘’“”•–—˜™š›œžŸ"), QByteArray("\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F")},
        // outside the code page: Cyrillic, a C1 control, an undefined slot's code point
        {QStringLiteral("aЖb"), QByteArray("a?b")},
        {QString(QChar(0x0081)) + QChar(0x009D), QByteArray("??")},
        // a surrogate pair is one character; a lone surrogate is one too
        {QStringLiteral("x😀y"), QByteArray("x?y")},
        {QString(QChar(0xD800)) + u'z' + QChar(0xDC00), QByteArray("?z?")},
        // NUL would end the text early
        {QString(QChar(0)) + u'a', QByteArray("?a")},
    };
    for (const auto& caso : casos)
        EXPECT_EQ(ACodigoPagina(caso.Texto), caso.Esperado) << caso.Texto.toStdString();
}

TEST(CodigoPagina, LatinOneCharactersKeepTheirCode)
{
    for (int codigo = 1; codigo < 256; ++codigo) {
        if (codigo < 0x80 || codigo >= 0xA0) {
            EXPECT_EQ(ACodigoPagina(QString(QChar(codigo))), QByteArray(1, char(codigo))) << codigo;
        }
    }
}

} // namespace
