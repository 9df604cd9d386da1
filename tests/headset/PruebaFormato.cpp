// Digit patterns: padding, decimals, rounding on the decimal value, the
// locale's separator and the literal characters around the digits.
#include "Formato.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>

namespace {

struct TCasoFormato {
    const char* Nombre; // the case's test name: letters, digits and '_'
    double Valor;
    const char16_t* Patron;
    const char16_t* Esperado;
};

// Printed by its name, so that listed tests read the same on every build.
void PrintTo(const TCasoFormato& caso, std::ostream* salida)
{
    *salida << caso.Nombre;
}

class FormatoTest : public testing::TestWithParam<TCasoFormato> {
protected:
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_P(FormatoTest, WritesThePattern)
{
    const TCasoFormato& caso = GetParam();
    EXPECT_EQ(FormatearNumero(caso.Valor, caso.Patron), QString::fromUtf16(caso.Esperado))
        << caso.Valor << " " << QString::fromUtf16(caso.Patron).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Casos, FormatoTest,
    testing::Values(
        // integers and padding
        TCasoFormato {"Zero", 0, u"0", u"0"}, TCasoFormato {"Negative", -7, u"0", u"-7"},
        TCasoFormato {"AsManyDigitsAsThePattern", 1536, u"0000", u"1536"},
        TCasoFormato {"PaddedWithZeros", 4, u"0000", u"0004"},
        TCasoFormato {"NegativePaddedAfterTheSign", -1, u"0000", u"-0001"},
        TCasoFormato {"MoreDigitsThanThePattern", 123456, u"0000", u"123456"},
        TCasoFormato {"LargestInt", 2147483647.0, u"0", u"2147483647"},
        TCasoFormato {"LargestUnsigned", 4294967295.0, u"0000", u"4294967295"},
        // rounding half away from zero, on the decimal value
        TCasoFormato {"HalfRoundsUp", 2.5, u"0", u"3"},
        TCasoFormato {"NegativeHalfRoundsAwayFromZero", -2.5, u"0", u"-3"},
        TCasoFormato {"HalfAtTheSecondDecimal", 0.125, u"0.00", u"0.13"},
        TCasoFormato {"HalfStoredBelowInBinary_2_675", 2.675, u"0.00", u"2.68"},
        TCasoFormato {"HalfStoredBelowInBinary_1_005", 1.005, u"0.00", u"1.01"},
        TCasoFormato {"CarryIntoANewDigit", 9.9995, u"0.000", u"10.000"},
        TCasoFormato {"CarryToAHundred", 99.5, u"0", u"100"}, TCasoFormato {"FloatQuarter", 0.25f, u"0.00", u"0.25"},
        TCasoFormato {"FloatWithTrailingZeros", 12.5f, u"0.000", u"12.500"},
        TCasoFormato {"FloatTenthAsItsDecimal", 0.1f, u"0.000", u"0.100"},
        // never "-0"
        TCasoFormato {"NegativeRoundedToZero", -0.4, u"0", u"0"}, TCasoFormato {"NegativeZero", -0.0, u"0.00", u"0.00"},
        TCasoFormato {"SmallNegativeRoundedToZero", -0.004, u"0.00", u"0.00"},
        TCasoFormato {"NegativeHalfKeepsItsSign", -0.005, u"0.00", u"-0.01"},
        // literals copied, no scaling
        TCasoFormato {"PercentAfterTwoDecimals", 45.67, u"0.00%", u"45.67%"},
        TCasoFormato {"PercentAfterOneDecimal", 45.67, u"0.0%", u"45.7%"},
        TCasoFormato {"PercentAfterRounding", 45.5, u"0%", u"46%"},
        TCasoFormato {"PercentDoesNotScale", 0.5, u"0%", u"1%"},
        TCasoFormato {"LettersAroundTheDigits", 3, u"x0y", u"x3y"},
        TCasoFormato {"BeyondSixtyFourBits", 1e20, u"0", u"100000000000000000000"},
        TCasoFormato {"NotANumber", std::numeric_limits<double>::quiet_NaN(), u"0.00", u"NAN"},
        TCasoFormato {"NegativeInfinity", -std::numeric_limits<double>::infinity(), u"0%", u"-INF%"}),
    [](const testing::TestParamInfo<TCasoFormato>& caso) { return std::string(caso.param.Nombre); });

TEST(FormatoLocale, UsesTheDefaultLocalesDecimalSeparator)
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    EXPECT_EQ(FormatearNumero(12.5, u"0.000"), QStringLiteral("12,500"));
    EXPECT_EQ(FormatearNumero(45.67, u"0.00%"), QStringLiteral("45,67%"));
    // No thousands separator, even where the locale has one.
    EXPECT_EQ(FormatearNumero(123456.5, u"0.0"), QStringLiteral("123456,5"));
    EXPECT_EQ(FormatearNumero(1536, u"0000"), QStringLiteral("1536"));
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(FormatearNumero(12.5, u"0.000"), QStringLiteral("12.500"));
}

} // namespace
