// A folder of its own for the settings file that a main window under test
// reads at start-up and writes at shutdown, away from the build and from
// other test programs, and the window's dependencies pointing at it.
#pragma once

#include "DialogosPrueba.h"
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

    // The same with a strict dialog mock the test keeps a pointer to, so that
    // a dialog no test expects fails the test.
    TFMain::TDependencias DependenciasConMock(testing::StrictMock<TDialogosMock>*& mock) const
    {
        TFMain::TDependencias dependencias = Dependencias();
        auto dialogos = std::make_unique<testing::StrictMock<TDialogosMock>>();
        mock = dialogos.get();
        dependencias.Dialogos = std::move(dialogos);
        return dependencias;
    }

private:
    QTemporaryDir FCarpeta;
};
