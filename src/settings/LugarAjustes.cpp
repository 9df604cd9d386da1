#include "LugarAjustes.h"

#include "FicheroIni.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <unistd.h>

namespace {

// The user's own folder of settings for this program.
const QString CarpetaPrograma = QStringLiteral("gedanko");

// An installed copy's executable lies in this folder below the prefix.
bool Instalado(const QString& ejecutable)
{
    return QFileInfo(ejecutable).path().endsWith(QStringLiteral("/" GEDANKO_CARPETA_INSTALADA));
}

bool Escribible(const QString& ruta)
{
    // access() also reports a read-only mount, which the permission bits do not.
    return ::access(QFile::encodeName(ruta).constData(), W_OK) == 0;
}

} // namespace

QString ElegirRutaAjustes(const TSituacionAjustes& situacion)
{
    QString junto = TFicheroIni::RutaJuntoAlEjecutable(situacion.FEjecutable, u".ini");
    const bool propia
        = !Instalado(situacion.FEjecutable) && (situacion.FCarpetaEscribible || situacion.FFicheroEscribible);
    if (propia || situacion.FConfiguracionUsuario.isEmpty())
        return junto;
    return QDir(situacion.FConfiguracionUsuario).filePath(CarpetaPrograma + u'/' + QFileInfo(junto).fileName());
}

QString RutaAjustes(const QString& ejecutable)
{
    TSituacionAjustes situacion;
    situacion.FEjecutable = ejecutable;
    situacion.FCarpetaEscribible = Escribible(QFileInfo(ejecutable).path());
    situacion.FFicheroEscribible = Escribible(TFicheroIni::RutaJuntoAlEjecutable(ejecutable, u".ini"));
    situacion.FConfiguracionUsuario = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QString ruta = ElegirRutaAjustes(situacion);
    // A missing folder would make the first exit's write fail.
    QDir().mkpath(QFileInfo(ruta).path());
    return ruta;
}
