// The toolkit's own texts (file dialogs, the overwrite question, message-box
// buttons) in Spanish like the rest of the program: Qt's Spanish catalogue and
// what it lacks, installed in the application while the object lives.
#pragma once

#include "ComplementoQt.h"

#include <QString>
#include <QTranslator>

class TTraduccionQt {
public:
    static constexpr const char* Catalogo = "qtbase_es";

    // The folder holding Qt's catalogues; Qt's own by default.
    explicit TTraduccionQt(QString carpeta = QString());
    TTraduccionQt(const TTraduccionQt&) = delete;
    TTraduccionQt& operator=(const TTraduccionQt&) = delete;

    // Loads the catalogue and installs it, with its complement, in the
    // running application.
    bool Cargar();
    QString MensajeError() const { return FMensajeError; }

private:
    QString FCarpeta;
    QTranslator FTraductor;
    TComplementoQt FComplemento;
    QString FMensajeError;
};
