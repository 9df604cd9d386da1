// A whole main window against a real engine: its settings in a folder of its
// own, port output on and recorded by the recording port library, the open
// dialog answered with a fixed file, and runs of the control loop steered
// from a callback and bounded in time.
#pragma once

#include "Dialogos.h"
#include "Grabacion.h"
#include "Main.h"
#include "RadioGroup.h"
#include "ui_Main.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include "PanelRegistro.h"
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

// Failures show texts as texts.
inline void PrintTo(const QString& texto, std::ostream* salida)
{
    *salida << '"' << texto.toStdString() << '"';
}

// Answers the open dialog with a fixed file; no other dialog is expected.
class TDialogosFijos : public TDialogos {
public:
    explicit TDialogosFijos(QString fichero) : FFichero(std::move(fichero)) {}
    QString ElegirFicheroGuardar(QWidget*) override { return {}; }
    QString ElegirFicheroAbrir(QWidget*) override { return FFichero; }
    void MostrarError(QWidget*, const QString& texto) override { ADD_FAILURE() << texto.toStdString(); }
    void MostrarMensaje(QWidget*, const QString& texto) override { ADD_FAILURE() << texto.toStdString(); }

private:
    QString FFichero;
};

class EjecucionReal : public testing::Test {
protected:
    static constexpr int ItemEmoEngine = 0;
    static constexpr int ItemEmoComposer = 1;

    void SetUp() override
    {
        ASSERT_TRUE(FCarpeta.isValid());
        TFMain::FijarEjecutablePrueba(FCarpeta.filePath(QStringLiteral("gedanko")));
    }

    void TearDown() override
    {
        FVentana.reset();
        TFMain::FijarEjecutablePrueba(QString());
    }

    // The window in headset mode with the chosen engine and port output on;
    // the open dialog answers `perfil`. The log starts empty.
    void Preparar(int motor, const QString& perfil = QString())
    {
        FVentana = std::make_unique<TFMain>();
        FVentana->FijarErrorAplicacionPrueba([](const QString& texto) { ADD_FAILURE() << texto.toStdString(); });
        FVentana->FijarDialogos(std::make_unique<TDialogosFijos>(perfil));
        Ui().ActionCasco->trigger();
        Ui().RadioGroupMotor->FijarIndiceElemento(motor);
        FVentana->RadioGroupMotorClick();
        Ui().ActionActuador->trigger();
        ASSERT_TRUE(Ui().ActionActuador->isChecked()) << "the recording port library did not load";
        FVentana->ActionLimpiarExecute();
    }

    Ui::TFMain& Ui() const { return *FVentana->ui; }

    // Clicks "Conectar" and returns when the run has ended. While connected,
    // `alBombear` runs at every pump of the loop's messages; "Desconectar" is
    // clicked as soon as it answers true, or as a failure once `limite` has
    // passed.
    void Ejecutar(const std::function<bool()>& alBombear, std::chrono::milliseconds limite)
    {
        QElapsedTimer reloj;
        reloj.start();
        bool pedido = false;
        QTimer bomba;
        bomba.setInterval(0);
        QObject::connect(&bomba, &QTimer::timeout, [&] {
            if (pedido || !FVentana->Conectado())
                return;
            if (reloj.elapsed() > limite.count()) {
                ADD_FAILURE() << "the run did not reach its end within " << limite.count() << " ms";
                pedido = true;
            } else {
                pedido = alBombear();
            }
            if (pedido)
                Ui().ActionDesconectar->trigger();
        });
        bomba.start();
        Ui().ActionConectar->trigger();
    }

    // The log, one entry per line, each led by its level: S state, I
    // information, E error (told by the line's colour).
    std::vector<QString> Registro() const
    {
        std::vector<QString> lineas;
        const TPanelRegistro* panel = Ui().RichEditRegistro;
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

    QString TextoEstado() const { return Ui().LabelEstado->text(); }

    // The bytes with each run of repeats written once: the commands in the
    // order the vehicle saw them, whatever the number of events behind each.
    static std::vector<unsigned> Tramos(const std::vector<unsigned>& bytes)
    {
        std::vector<unsigned> tramos;
        for (unsigned byte : bytes)
            if (tramos.empty() || tramos.back() != byte)
                tramos.push_back(byte);
        return tramos;
    }

    TGrabacion FGrabacion; // before the window: start-up already writes bytes
    QTemporaryDir FCarpeta;
    std::unique_ptr<TFMain> FVentana;
};
