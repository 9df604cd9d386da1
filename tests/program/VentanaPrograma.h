// A whole main window over the test engine, with its settings and help files
// in a folder of its own, a clock the test moves by hand, the gyro re-zero's
// waits recorded instead of slept, and the application's error box caught.
// A run of the control loop happens inside the click on "Conectar"; the test
// steers it from a callback run at every pump of the window's messages.
#pragma once

#include "EjecucionVentana.h"
#include "Grabacion.h"
#include "Main.h"
#include "MotorPrueba.h"
#include "RadioGroup.h"
#include "ui_Main.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

// One EmoState that passes every gate: good signal, every contact good.
inline TEstadoPrueba EstadoBueno(unsigned expresiva = ACC_EXP_NEUTRAL, float potencia = 0)
{
    TEstadoPrueba estado;
    estado.Senal = 2;
    estado.Bateria = 4;
    estado.BateriaMax = 5;
    estado.Contactos.fill(4);
    estado.AccionExpresiva = expresiva;
    estado.PotenciaExpresiva = potencia;
    return estado;
}

inline TEstadoPrueba EstadoApretando(float potencia = 0.8f)
{
    return EstadoBueno(ACC_EXP_APRETAR_DIENTES, potencia);
}

class VentanaPrograma : public testing::Test {
protected:
    void SetUp() override
    {
        MotorPrueba().Reiniciar();
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
        FVentana->FijarRelojPrueba([this] { return FAhora; },
                                   [this](int milisegundos) {
                                       FEsperas.push_back(milisegundos);
                                       FPanelEnEspera.push_back(!Ui().PanelCalibrandoAcelerometros->isHidden());
                                       if (FAlEsperar)
                                           FAlEsperar();
                                   });
        FVentana->FijarErrorAplicacionPrueba([this](const QString& texto) { FErrores.push_back(texto); });
        return *FVentana;
    }

    Ui::TFMain& Ui() const { return *FVentana->ui; }

    // Headset mode with the chosen engine (0 EmoEngine, 1 EmoComposer).
    void ModoCasco(int motor)
    {
        Ui().ActionCasco->trigger();
        Ui().RadioGroupMotor->FijarIndiceElemento(motor);
        FVentana->RadioGroupMotorClick();
    }

    void ActivarSalida()
    {
        Ui().ActionActuador->trigger();
        ASSERT_TRUE(Ui().ActionActuador->isChecked()) << "the recording port library did not load";
    }

    // A run of the control loop, ended when `alBombear` answers true.
    void Ejecutar(const std::function<bool()>& alBombear) { EjecutarConexion(*FVentana, alBombear); }

    // Runs until the engine has handed out every queued event and the loop
    // has pumped once more.
    void EjecutarHastaVaciar()
    {
        int tras = 0;
        Ejecutar([&] { return MotorPrueba().EventosPendientes() == 0 && ++tras > 1; });
    }

    void LimpiarRegistro() { FVentana->ActionLimpiarExecute(); }

    std::vector<QString> Registro() const { return LineasRegistro(*FVentana); }

    QString TextoEstado() const { return Ui().LabelEstado->text(); }

    TGrabacion FGrabacion; // before the window: start-up already writes a byte
    QTemporaryDir FCarpeta;
    std::unique_ptr<TFMain> FVentana;
    std::int64_t FAhora = 0;
    std::vector<int> FEsperas;
    std::function<void()> FAlEsperar; // runs inside each of the loop's plain waits
    std::vector<bool> FPanelEnEspera;
    std::vector<QString> FErrores;
};
