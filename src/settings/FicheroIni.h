// The program's settings file: a small INI text file beside the executable.
// Section and key names match without regard to case; a comment may follow a
// value after a blank. Reading never fails (anything unreadable gives the
// default); writing changes only the value it writes and keeps every other
// byte of the file. The file is replaced as a whole so that a failed write
// leaves the old one intact; only in a folder that takes no new file is it
// written in place, with its room reserved first.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

class TFicheroIni {
public:
    explicit TFicheroIni(QString ruta);

    // The file that belongs beside an executable: its file name with the
    // first ".exe" (any case) replaced by the extension, or the extension
    // appended when the name holds no ".exe". The directory is never changed.
    static QString RutaJuntoAlEjecutable(const QString& ejecutable, QStringView extension);

    // Decimal with an optional sign, "0x"/"0X" or "$" for hexadecimal, blanks
    // around ignored; nothing when the text is not such a 32-bit integer.
    static std::optional<int> InterpretarEntero(QStringView texto);

    const QString& Ruta() const { return FRuta; }

    // The key's value without a comment that follows it, or the default when
    // the file, section or key is missing or the value is not an integer.
    int LeerEntero(const QString& seccion, const QString& clave, int defecto) const;

    // The key's value as text (UTF-8), without a comment that follows it, or
    // the default when the file, section or key is missing.
    QString LeerTexto(const QString& seccion, const QString& clave, const QString& defecto) const;

    // Writes the value as a decimal integer in place of the old one, keeping
    // a comment that follows it. False when the file cannot be read or
    // written either way; MensajeError then names the file.
    bool EscribirEntero(const QString& seccion, const QString& clave, int valor);

    const QString& MensajeError() const { return FMensajeError; }
    const QString& DetalleError() const { return FDetalleError; }

private:
    // Where a key stands: the line of its section header and the line of the
    // key itself (-1 when missing).
    struct TPosicion {
        qsizetype FSeccion = -1;
        qsizetype FUltimaClave = -1;
        qsizetype FClave = -1;
    };

    // The file's lines, each with its own line end; none when there is no
    // file. False when the file exists but cannot be read.
    bool Cargar(QList<QByteArray>& lineas, QString& detalle) const;
    static TPosicion Buscar(const QList<QByteArray>& lineas, const QString& seccion, const QString& clave);
    // Puts the whole text in the file: through a temporary file where the
    // folder allows one, over the existing file where it does not.
    bool Guardar(const QByteArray& texto);
    bool Fallar(const QString& detalle);

    QString FRuta;
    QString FMensajeError;
    QString FDetalleError;
};
