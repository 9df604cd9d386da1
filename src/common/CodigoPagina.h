// Texts handed to the engine or saved to file in the 8-bit code page
// Windows-1252; a character the code page cannot hold becomes '?'.
#pragma once

#include <QByteArray>
#include <QString>

QByteArray ACodigoPagina(const QString& texto);

// The bytes that name a file for the engine: Windows-1252 when the code page
// holds every character, otherwise the file system's own encoding, so that a
// file the operator picked is always found.
QByteArray ANombreFichero(const QString& fichero);
