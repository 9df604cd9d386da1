// Writes the saved log to a file: created or emptied, locked against other
// writers while it is written, every byte written, closed in every case.
#pragma once

#include <QByteArray>
#include <QString>

enum TPasoGuardado { pgNinguno, pgAbrir, pgEscribir, pgCerrar };

class TGuardadoRegistro {
public:
    // The log's text as the file holds it: Windows-1252, no byte-order mark.
    static QByteArray Codificar(const QString& texto);

    // Writes the bytes to the file at ruta, replacing what it held. On
    // failure the step and the system's error code are kept.
    bool Guardar(const QString& ruta, const QByteArray& bytes);

    TPasoGuardado PasoFallido() const { return FPasoFallido; }
    int CodigoError() const { return FCodigoError; }
    // The operator's message for the last outcome.
    QString Mensaje() const;

private:
    bool Fallar(TPasoGuardado paso, int codigo);

    TPasoGuardado FPasoFallido = pgNinguno;
    int FCodigoError = 0;
};
