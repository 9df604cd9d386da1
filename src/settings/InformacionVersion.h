// The program's version information: six strings compiled into the program
// as a resource, in the block for Spanish (0C0A) and Windows-1252 (04E4), and
// the texts the log banner and the about box build from them.
#pragma once

#include <QString>

struct TInformacionVersion {
    // The compiled-in resource of this build.
    static constexpr auto RutaRecurso = u":/version/version.json";

    QString FVersionProducto; // ProductVersion
    QString FVersionFichero; // FileVersion
    QString FComentarios; // Comments
    QString FNombreInterno; // InternalName
    QString FNombreProducto; // ProductName
    QString FDerechosAutor; // LegalCopyright

    // Reads the six strings from a resource path or file. A value that is not
    // found stays empty; a missing or unreadable source leaves all six empty.
    static TInformacionVersion Leer(const QString& ruta = QString::fromUtf16(RutaRecurso));

    // "Versión: 1.0.0 (1.0.0.6)" and "14/09/2010 - <author>" for the about box.
    QString TextoVersion() const;
    QString TextoAutor() const;
    // The two first lines of the log.
    QString PrimeraLineaRegistro() const;
    QString SegundaLineaRegistro() const;
};
