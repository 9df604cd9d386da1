#include "TraduccionQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace {

const char* const TextoSinCatalogo
    = "No se ha encontrado la traducción de Qt al español (%1.qm en %2): los diálogos de archivos y los botones "
      "de los mensajes saldrán en inglés. Instálela con scripts/install-deps.sh (paquete qt6-translations-l10n).";

} // namespace

TTraduccionQt::TTraduccionQt(QString carpeta)
    : FCarpeta(carpeta.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : std::move(carpeta))
{
}

bool TTraduccionQt::Cargar()
{
    const QString catalogo = QString::fromLatin1(Catalogo);
    if (!FTraductor.load(catalogo, FCarpeta) || !QCoreApplication::installTranslator(&FTraductor)) {
        FMensajeError = QString::fromUtf8(TextoSinCatalogo).arg(catalogo, FCarpeta);
        return false;
    }
    // Without the catalogue the complement alone would mix the languages.
    QCoreApplication::installTranslator(&FComplemento);
    return true;
}
