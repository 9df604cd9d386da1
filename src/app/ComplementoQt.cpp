#include "ComplementoQt.h"

#include <cstring>

namespace {

struct TTraduccion {
    const char* Contexto;
    const char* Original;
    const char* Espanol;
};

const TTraduccion Traducciones[] = {
    {"QAbstractFileIconProvider", "Folder", "Carpeta"},
    {"QAbstractFileIconProvider", "Drive", "Unidad"},
    {"QAbstractFileIconProvider", "Unknown", "Desconocido"},
};

} // namespace

QString TComplementoQt::translate(const char* contexto, const char* texto, const char*, int) const
{
    if (!contexto || !texto)
        return {};
    for (const TTraduccion& traduccion : Traducciones) {
        if (std::strcmp(contexto, traduccion.Contexto) == 0 && std::strcmp(texto, traduccion.Original) == 0)
            return QString::fromUtf8(traduccion.Espanol);
    }
    // Empty: the other translators, or the original, answer.
    return {};
}
