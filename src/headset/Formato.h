// Numbers for the operator, written with digit patterns such as "0", "0000",
// "0.00", "0.000", "0%", "0.0%" and "0.00%": zeros before the point pad to at
// least that many digits, zeros after it give the decimals, rounded; the point
// stands for the locale's decimal separator; other characters are copied.
#pragma once

#include <QString>
#include <QStringView>

QString FormatearNumero(double valor, QStringView patron);
