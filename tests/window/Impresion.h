// Readable failure messages for Qt texts.
#pragma once

#include <QString>
#include <ostream>

inline void PrintTo(const QString& texto, std::ostream* salida)
{
    *salida << '"' << texto.toStdString() << '"';
}
