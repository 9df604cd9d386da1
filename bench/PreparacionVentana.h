// Brings the real main window to the state every bench run measures: headset
// mode, "EmoComposer" (at 127.0.0.1 and the given port, when one is given),
// port output on and "Visualizar Estados" as asked, all through the window's
// own actions.
#pragma once

#include "FormularioMain.h"
#include "Main.h"
#include "RadioGroup.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>

#include <cstdint>
#include <cstdio>

// Lets the window be shown and painted before anything is measured.
inline void AsentarVentana()
{
    QElapsedTimer reloj;
    reloj.start();
    while (reloj.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

inline bool PrepararVentana(TFMain& ventana, bool estados, std::uint16_t puerto = 0)
{
    const TFormularioMain ui {ventana};
    ui.ActionCasco->trigger();
    ui.RadioGroupMotor->Boton(1)->click();
    if (puerto != 0) {
        ui.EditIp1->setText(QStringLiteral("127"));
        ui.EditIp2->setText(QStringLiteral("0"));
        ui.EditIp3->setText(QStringLiteral("0"));
        ui.EditIp4->setText(QStringLiteral("1"));
        ui.EditPuerto->setText(QString::number(puerto));
    }
    if (!ui.ActionActuador->isChecked())
        ui.ActionActuador->trigger();
    if (ui.ActionEstados->isChecked() != estados)
        ui.ActionEstados->trigger();
    AsentarVentana();
    if (ventana.ModoManual() || ui.RadioGroupMotor->IndiceElemento() != 1 || !ui.ActionActuador->isChecked()
        || ui.ActionEstados->isChecked() != estados || !ui.ActionConectar->isEnabled()) {
        std::fprintf(stderr, "banco: the window did not reach headset mode with EmoComposer and port output on\n");
        return false;
    }
    return true;
}
