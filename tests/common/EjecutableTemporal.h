// Keeps the settings file that the main window reads at start-up and writes
// at shutdown in a folder of its own, away from the build and from other test
// programs. Declare it before the window.
#pragma once

#include "Main.h"

#include <QTemporaryDir>

class TEjecutableTemporal {
public:
    TEjecutableTemporal() { TFMain::FijarEjecutablePrueba(FCarpeta.filePath(QStringLiteral("gedanko"))); }
    ~TEjecutableTemporal() { TFMain::FijarEjecutablePrueba(QString()); }
    TEjecutableTemporal(const TEjecutableTemporal&) = delete;
    TEjecutableTemporal& operator=(const TEjecutableTemporal&) = delete;

    QString Carpeta() const { return FCarpeta.path(); }

private:
    QTemporaryDir FCarpeta;
};
