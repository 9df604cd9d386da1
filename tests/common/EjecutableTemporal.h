// A folder of its own for the settings file that a main window under test
// reads at start-up and writes at shutdown, away from the build and from
// other test programs, and the window's dependencies pointing at it.
#pragma once

#include "Main.h"

#include <QTemporaryDir>

class TEjecutableTemporal {
public:
    QString Carpeta() const { return FCarpeta.path(); }
    QString Ejecutable() const { return FCarpeta.filePath(QStringLiteral("gedanko")); }

    // The real dependencies but for the executable, which lies in the folder;
    // a test sets what else it steers.
    TFMain::TDependencias Dependencias() const
    {
        TFMain::TDependencias dependencias;
        dependencias.Ejecutable = Ejecutable();
        return dependencias;
    }

private:
    QTemporaryDir FCarpeta;
};
