// Writes the saved log to a file: created or emptied, locked against other
// writers while it is written, every byte written, closed in every case.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

enum TPasoGuardado { pgNinguno, pgAbrir, pgEscribir, pgCerrar };

class TGuardadoRegistro {
public:
    // Takes the next piece of the text; false when it could not be written.
    using TEscritor = std::function<bool(const char* datos, qsizetype cuantos)>;
    // Hands the whole text to escribir piece by piece; false when escribir
    // refused a piece, or with errno set when a piece could not be made.
    using TProductor = std::function<bool(const TEscritor& escribir)>;

    // The log's text as the file holds it: Windows-1252, no byte-order mark.
    static QByteArray Codificar(const QString& texto);

    // Writes the bytes to the file at ruta, replacing what it held. On
    // failure the step and the system's error code are kept.
    bool Guardar(const QString& ruta, const QByteArray& bytes);
    // The same for a text that producir makes piece by piece, so that a long
    // log is never held whole; `bytes`, its expected length, is the room
    // reserved. A piece that cannot be made fails as a write.
    bool Guardar(const QString& ruta, qsizetype bytes, const TProductor& producir);

    TPasoGuardado PasoFallido() const { return FPasoFallido; }
    int CodigoError() const { return FCodigoError; }
    // The operator's message for the last outcome.
    QString Mensaje() const;

private:
    bool Fallar(TPasoGuardado paso, int codigo);

    TPasoGuardado FPasoFallido = pgNinguno;
    int FCodigoError = 0;
};
