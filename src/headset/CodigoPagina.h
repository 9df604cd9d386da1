// Texts handed to the engine or saved to file in the 8-bit code page
// Windows-1252; a character the code page cannot hold becomes '?'.
#pragma once

#include <QByteArray>
#include <QString>

QByteArray ACodigoPagina(const QString& texto);
