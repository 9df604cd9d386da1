// Whole runs of the main window's control loop, steered by a test, and the
// window's log read back as the operator sees it.
#pragma once

#include "FormularioMain.h"
#include "Main.h"
#include "PanelRegistro.h"

#include <QAction>
#include <QColor>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <vector>

// Clicks "Conectar" and returns when the run has ended. While connected,
// `alBombear` runs at every pump of the loop's messages; "Desconectar" is
// clicked as soon as it answers true, or as a failure once `limite` has
// passed, so that a run that never ends cannot hang the test program.
inline void EjecutarConexion(TFMain& ventana, const std::function<bool()>& alBombear,
                             std::chrono::milliseconds limite = std::chrono::seconds(60))
{
    QElapsedTimer reloj;
    reloj.start();
    bool pedido = false;
    QTimer bomba;
    bomba.setInterval(0);
    QObject::connect(&bomba, &QTimer::timeout, [&] {
        if (pedido || !ventana.Conectado())
            return;
        if (reloj.elapsed() > limite.count()) {
            ADD_FAILURE() << "the run did not reach its end within " << limite.count() << " ms";
            pedido = true;
        } else {
            pedido = alBombear();
        }
        if (pedido)
            TFormularioMain(ventana).ActionDesconectar->trigger();
    });
    bomba.start();
    TFormularioMain(ventana).ActionConectar->trigger();
}

// Connects to the engine the test program links (headset mode, "EmoComposer"
// at the address and port in the window) and runs `hacer` once while
// connected, with the window in its connected look; then disconnects. The
// engine must accept the connection.
inline void MientrasConectado(TFMain& ventana, const std::function<void()>& hacer)
{
    const TFormularioMain ui(ventana);
    if (ventana.ModoManual())
        ui.ActionCasco->trigger();
    ui.RadioGroupMotor->FijarIndiceElemento(TFMain::ItemEmoComposer);
    ventana.RadioGroupMotorClick();
    bool hecho = false;
    EjecutarConexion(ventana, [&] {
        // Registrar pumps before the run shows its connected look.
        if (!ui.ActionDesconectar->isVisible())
            return false;
        if (!hecho) {
            hecho = true;
            hacer();
        }
        return true;
    });
    EXPECT_TRUE(hecho) << "the window did not connect";
}

// The log, one entry per line, each led by its level as its colour shows
// it: S state (black), I information (blue), E error (red).
inline std::vector<QString> LineasRegistro(const TFMain& ventana)
{
    std::vector<QString> lineas;
    const TPanelRegistro* panel = TFormularioMain(ventana).RichEditRegistro;
    for (int i = 0; i < panel->NumLineas(); ++i) {
        const QColor color = panel->ColorLinea(i);
        QString nivel = QStringLiteral("S ");
        if (color == QColor(0, 0, 255))
            nivel = QStringLiteral("I ");
        else if (color == QColor(255, 0, 0))
            nivel = QStringLiteral("E ");
        lineas.push_back(nivel + panel->Linea(i));
    }
    return lineas;
}
