// Where the settings file lives. Beside the executable, as the program has
// always kept it, when that folder is the program's own and takes the file;
// an installed copy (in <prefix>/lib/gedanko, a folder of the system)
// and a copy in a read-only folder keep it in the user's configuration folder
// instead, so that every exit can write it.
#pragma once

#include <QString>

struct TSituacionAjustes {
    QString FEjecutable; // the program's own file, absolute
    bool FCarpetaEscribible = false; // its folder takes new files
    bool FFicheroEscribible = false; // the file beside it exists and can be written
    QString FConfiguracionUsuario; // $XDG_CONFIG_HOME or ~/.config; empty when unknown
};

// The settings file for the situation: the file beside the executable
// (TFicheroIni::RutaJuntoAlEjecutable) unless the executable is installed or
// neither its folder nor that file can be written; then a file of the same
// name in the "gedanko" folder of the user's configuration folder. Beside as
// well when there is no configuration folder to go to.
QString ElegirRutaAjustes(const TSituacionAjustes& situacion);

// The choice for this process's executable: looks at the folder and the
// file, takes the user's configuration folder from the environment and,
// when the file goes there, creates its "gedanko" folder.
QString RutaAjustes(const QString& ejecutable);
