// A whole main window against a real engine: its settings in a folder of its
// own, port output on and recorded by the recording port library, the open
// dialog answered with a fixed file, and runs of the control loop steered
// from a callback and bounded in time.
#pragma once

#include "DialogosPrueba.h"
#include "EjecucionVentana.h"
#include "Grabacion.h"
#include "Main.h"
#include "RadioGroup.h"
#include "ui_Main.h"

#include <QAction>
#include <QLabel>
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
        // No run here expects an error or message box.
        if (FVentana && FDialogos) {
            EXPECT_EQ(FDialogos->Errores, std::vector<QString> {});
            EXPECT_EQ(FDialogos->Mensajes, std::vector<QString> {});
        }
        FVentana.reset();
        TFMain::FijarEjecutablePrueba(QString());
    }

    // The window in headset mode with the chosen engine and port output on;
    // the open dialog answers `perfil`. The log starts empty.
    void Preparar(int motor, const QString& perfil = QString())
    {
        FVentana = std::make_unique<TFMain>();
        FVentana->FijarErrorAplicacionPrueba([](const QString& texto) { ADD_FAILURE() << texto.toStdString(); });
        auto dialogos = std::make_unique<TDialogosGrabados>(perfil);
        FDialogos = dialogos.get();
        FVentana->FijarDialogos(std::move(dialogos));
        Ui().ActionCasco->trigger();
        Ui().RadioGroupMotor->FijarIndiceElemento(motor);
        FVentana->RadioGroupMotorClick();
        Ui().ActionActuador->trigger();
        ASSERT_TRUE(Ui().ActionActuador->isChecked()) << "the recording port library did not load";
        FVentana->ActionLimpiarExecute();
    }

    Ui::TFMain& Ui() const { return *FVentana->ui; }

    // A run of the control loop, ended when `alBombear` answers true or, as
    // a failure, after `limite`.
    void Ejecutar(const std::function<bool()>& alBombear, std::chrono::milliseconds limite)
    {
        EjecutarConexion(*FVentana, alBombear, limite);
    }

    std::vector<QString> Registro() const { return LineasRegistro(*FVentana); }

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
    TDialogosGrabados* FDialogos = nullptr;
};
