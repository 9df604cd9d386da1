// A whole main window over the real engine library: settings in a folder of
// its own, the real clock, the application's error box and the modal dialogs
// answered by the test, commands recorded. A run of the control loop happens
// inside the click on "Conectar"; the test steers it from a callback run at
// every pump of the window's messages.
#pragma once

#include "DialogosPrueba.h"
#include "EjecucionVentana.h"
#include "Grabacion.h"
#include "Main.h"
#include "RadioGroup.h"
#include "ui_Main.h"

#include <QAction>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

class VentanaReal : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FCarpeta.isValid());
        TFMain::FijarEjecutablePrueba(Ruta(QStringLiteral("gedanko")));
    }

    void TearDown() override
    {
        FVentana.reset();
        TFMain::FijarEjecutablePrueba(QString());
    }

    QString Ruta(const QString& nombre) const { return FCarpeta.filePath(nombre); }

    TFMain& Crear()
    {
        FVentana = std::make_unique<TFMain>();
        FVentana->FijarErrorAplicacionPrueba([this](const QString& texto) { FErrores.push_back(texto); });
        auto dialogos = std::make_unique<TDialogosGrabados>();
        FDialogos = dialogos.get();
        FVentana->FijarDialogos(std::move(dialogos));
        return *FVentana;
    }

    Ui::TFMain& Ui() const { return *FVentana->ui; }

    // Headset mode with the chosen engine (0 EmoEngine, 1 EmoComposer on
    // 127.0.0.1 and the given port) and port output on.
    void Preparar(int motor, std::uint16_t puerto = 0)
    {
        Ui().ActionCasco->trigger();
        Ui().RadioGroupMotor->FijarIndiceElemento(motor);
        FVentana->RadioGroupMotorClick();
        if (puerto != 0)
            Ui().EditPuerto->setText(QString::number(puerto));
        Ui().ActionActuador->trigger();
        ASSERT_TRUE(Ui().ActionActuador->isChecked()) << "the recording port library did not load";
    }

    // A run of the control loop, ended when `alBombear` answers true.
    void Ejecutar(const std::function<bool()>& alBombear) { EjecutarConexion(*FVentana, alBombear); }

    std::vector<QString> Registro() const { return LineasRegistro(*FVentana); }

    // Lines from the `desde`-th on.
    std::vector<QString> RegistroDesde(std::size_t desde) const
    {
        const std::vector<QString> todas = Registro();
        return {todas.begin() + std::min(desde, todas.size()), todas.end()};
    }

    QString TextoEstado() const { return Ui().LabelEstado->text(); }

    TGrabacion FGrabacion; // before the window: start-up already writes a byte
    QTemporaryDir FCarpeta;
    std::unique_ptr<TFMain> FVentana;
    TDialogosGrabados* FDialogos = nullptr;
    std::vector<QString> FErrores;
};
