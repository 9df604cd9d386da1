// Whole runs of the main window's control loop, steered by a test, and the
// window's log read back as the operator sees it.
#pragma once

#include "Main.h"
#include "PanelRegistro.h"
#include "ui_Main.h"

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
            ventana.ui->ActionDesconectar->trigger();
    });
    bomba.start();
    ventana.ui->ActionConectar->trigger();
}

// The log, one entry per line, each led by its level as its colour shows
// it: S state (black), I information (blue), E error (red).
inline std::vector<QString> LineasRegistro(const TFMain& ventana)
{
    std::vector<QString> lineas;
    const TPanelRegistro* panel = ventana.ui->RichEditRegistro;
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
