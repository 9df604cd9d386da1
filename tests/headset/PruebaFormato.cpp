// Digit patterns: padding, decimals, rounding on the decimal value, the
// locale's separator and the literal characters around the digits.
#include "Formato.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <limits>

namespace {

struct TCasoFormato {
    double Valor;
    const char16_t* Patron;
    const char16_t* Esperado;
};

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

INSTANTIATE_TEST_SUITE_P(Casos, FormatoTest,
                         testing::Values(
                             // integers and padding
                             TCasoFormato {0, u"0", u"0"}, TCasoFormato {-7, u"0", u"-7"},
                             TCasoFormato {1536, u"0000", u"1536"}, TCasoFormato {4, u"0000", u"0004"},
                             TCasoFormato {-1, u"0000", u"-0001"}, TCasoFormato {123456, u"0000", u"123456"},
                             TCasoFormato {2147483647.0, u"0", u"2147483647"},
                             TCasoFormato {4294967295.0, u"0000", u"4294967295"},
                             // rounding half away from zero, on the decimal value
                             TCasoFormato {2.5, u"0", u"3"}, TCasoFormato {-2.5, u"0", u"-3"},
                             TCasoFormato {0.125, u"0.00", u"0.13"}, TCasoFormato {2.675, u"0.00", u"2.68"},
                             TCasoFormato {1.005, u"0.00", u"1.01"}, TCasoFormato {9.9995, u"0.000", u"10.000"},
                             TCasoFormato {99.5, u"0", u"100"}, TCasoFormato {0.25f, u"0.00", u"0.25"},
                             TCasoFormato {12.5f, u"0.000", u"12.500"}, TCasoFormato {0.1f, u"0.000", u"0.100"},
                             // never "-0"
                             TCasoFormato {-0.4, u"0", u"0"}, TCasoFormato {-0.0, u"0.00", u"0.00"},
                             TCasoFormato {-0.004, u"0.00", u"0.00"}, TCasoFormato {-0.005, u"0.00", u"-0.01"},
                             // literals copied, no scaling
                             TCasoFormato {45.67, u"0.00%", u"45.67%"}, TCasoFormato {45.67, u"0.0%", u"45.7%"},
                             TCasoFormato {45.5, u"0%", u"46%"}, TCasoFormato {0.5, u"0%", u"1%"},
                             TCasoFormato {3, u"x0y", u"x3y"}, TCasoFormato {1e20, u"0", u"100000000000000000000"},
                             TCasoFormato {std::numeric_limits<double>::quiet_NaN(), u"0.00", u"NAN"},
                             TCasoFormato {-std::numeric_limits<double>::infinity(), u"0%", u"-INF%"}));

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
