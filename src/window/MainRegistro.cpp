// Event log handlers of the main window: appending entries, emptying, the
// state-line switch and saving the log to a file.
#include "Main.h"
#include "ui_Main.h"

#include "Dialogos.h"
#include "GuardadoRegistro.h"
#include "RegistroEventos.h"

#include <QAction>
#include <QCoreApplication>

void TFMain::Registrar(NivelRegistro nivel, const QString& texto)
{
    FRegistro->Anadir(nivel, texto);
    // Long-running callers rely on this to keep the window alive.
    QCoreApplication::processEvents();
}

void TFMain::ActionLimpiarExecute()
{
    FRegistro->Limpiar();
}

void TFMain::ActionEstadosExecute()
{
    ui->ActionEstados->setChecked(!ui->ActionEstados->isChecked());
}

void TFMain::ActionGuardarExecute()
{
    const QString fichero = FDependencias.Dialogos->ElegirFicheroGuardar(this);
    if (fichero.isEmpty())
        return;
    TGuardadoRegistro guardado;
    if (FRegistro->Guardar(guardado, fichero))
        FDependencias.Dialogos->MostrarMensaje(this, guardado.Mensaje());
    else
        FDependencias.Dialogos->MostrarError(this, guardado.Mensaje());
}
