// A whole main window under test: its settings and help files in a folder of
// its own, the modal dialogs answered by the test (TDialogosGrabados), the
// application's error box caught, and the commands recorded by the recording
// port library. A run of the control loop happens inside the click on
// "Conectar"; the test steers it from a callback run at every pump of the
// window's messages.
#pragma once

#include "DialogosPrueba.h"
#include "EjecucionVentana.h"
#include "FormularioMain.h"
#include "Grabacion.h"
#include "Main.h"
#include "RadioGroup.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class VentanaPrueba : public testing::Test {
protected:
    static constexpr int ItemEmoEngine = TFMain::ItemEmoEngine;
    static constexpr int ItemEmoComposer = TFMain::ItemEmoComposer;

    void SetUp() override { ASSERT_TRUE(FCarpeta.isValid()); }
    void TearDown() override { FVentana.reset(); }

    QString Ruta(const QString& nombre) const { return FCarpeta.filePath(nombre); }

    // Builds the window. What the test leaves empty in `dependencias` is
    // filled in: the executable in the test's folder, the error box into
    // FErrores, recorded dialogs (FDialogos) whose open dialog answers
    // `perfil`; the rest is real.
    TFMain& Crear(TFMain::TDependencias dependencias = {}, const QString& perfil = QString())
    {
        if (dependencias.Ejecutable.isEmpty())
            dependencias.Ejecutable = Ruta(QStringLiteral("gedanko"));
        if (!dependencias.ErrorAplicacion)
            dependencias.ErrorAplicacion = [this](const QString& texto) { FErrores.push_back(texto); };
        if (!dependencias.Dialogos) {
            auto dialogos = std::make_unique<TDialogosGrabados>(perfil);
            FDialogos = dialogos.get();
            dependencias.Dialogos = std::move(dialogos);
        }
        FVentana = std::make_unique<TFMain>(std::move(dependencias));
        return *FVentana;
    }

    TFormularioMain Ui() const { return TFormularioMain(*FVentana); }

    // Headset mode with the chosen engine; EmoComposer at 127.0.0.1 and the
    // given port, when one is given.
    void ModoCasco(int motor, std::uint16_t puerto = 0)
    {
        Ui().ActionCasco->trigger();
        Ui().RadioGroupMotor->FijarIndiceElemento(motor);
        FVentana->RadioGroupMotorClick();
        if (puerto != 0)
            Ui().EditPuerto->setText(QString::number(puerto));
    }

    void ActivarSalida()
    {
        Ui().ActionActuador->trigger();
        ASSERT_TRUE(Ui().ActionActuador->isChecked()) << "the recording port library did not load";
    }

    void LimpiarRegistro() { FVentana->ActionLimpiarExecute(); }

    // A run of the control loop, ended when `alBombear` answers true or, as
    // a failure, after `limite`.
    void Ejecutar(const std::function<bool()>& alBombear, std::chrono::milliseconds limite = std::chrono::seconds(60))
    {
        EjecutarConexion(*FVentana, alBombear, limite);
    }

    std::vector<QString> Registro() const { return LineasRegistro(*FVentana); }

    // Lines from the `desde`-th on.
    std::vector<QString> RegistroDesde(std::size_t desde) const
    {
        const std::vector<QString> todas = Registro();
        return {todas.begin() + std::ptrdiff_t(std::min(desde, todas.size())), todas.end()};
    }

    QString TextoEstado() const { return Ui().LabelEstado->text(); }

    // The bytes written since `desde`.
    std::vector<unsigned> BytesDesde(std::size_t desde) const
    {
        const std::vector<unsigned> todos = FGrabacion.Valores();
        return {todos.begin() + std::ptrdiff_t(std::min(desde, todos.size())), todos.end()};
    }

    TGrabacion FGrabacion; // before the window: start-up already writes bytes
    QTemporaryDir FCarpeta;
    std::unique_ptr<TFMain> FVentana;
    TDialogosGrabados* FDialogos = nullptr; // the recorded dialogs, when the test gave none
    std::vector<QString> FErrores;
};
