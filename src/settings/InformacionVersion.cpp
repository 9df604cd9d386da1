#include "InformacionVersion.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

// The resource lives in a static library, so it is registered by hand before
// its first use (outside any namespace, as the registration needs).
static void RegistrarRecurso()
{
    static const bool registrado = [] {
        Q_INIT_RESOURCE(gedanko_version);
        return true;
    }();
    (void)registrado;
}

namespace {

// The most a version block can sensibly take; anything larger is not one.
constexpr qint64 TamanoMaximo = 64 * 1024;

} // namespace

TInformacionVersion TInformacionVersion::Leer(const QString& ruta)
{
    RegistrarRecurso();
    TInformacionVersion informacion;
    QFile fichero(ruta);
    if (!fichero.open(QIODevice::ReadOnly) || fichero.size() > TamanoMaximo)
        return informacion;
    const QJsonDocument documento = QJsonDocument::fromJson(fichero.readAll());
    const QJsonObject bloque = documento.object().value(u"StringFileInfo").toObject().value(u"0C0A04E4").toObject();
    informacion.FVersionProducto = bloque.value(u"ProductVersion").toString();
    informacion.FVersionFichero = bloque.value(u"FileVersion").toString();
    informacion.FComentarios = bloque.value(u"Comments").toString();
    informacion.FNombreInterno = bloque.value(u"InternalName").toString();
    informacion.FNombreProducto = bloque.value(u"ProductName").toString();
    informacion.FDerechosAutor = bloque.value(u"LegalCopyright").toString();
    return informacion;
}

QString TInformacionVersion::TextoVersion() const
{
    return QStringLiteral("Versión: ") + FVersionProducto + QStringLiteral(" (") + FVersionFichero
           + QStringLiteral(")");
}

QString TInformacionVersion::TextoAutor() const
{
    return FComentarios + QStringLiteral(" - ") + FDerechosAutor;
}

QString TInformacionVersion::PrimeraLineaRegistro() const
{
    return FNombreInterno + QStringLiteral(" V:") + FVersionProducto + QStringLiteral(" (") + FVersionFichero
           + QStringLiteral(") - ") + FComentarios;
}

QString TInformacionVersion::SegundaLineaRegistro() const
{
    return QStringLiteral("2010 - ") + FDerechosAutor;
}
