// A whole main window over the test engine (see VentanaPrueba), on a clock
// the test moves by hand, with the gyro re-zero's waits recorded instead of
// slept.
#pragma once

#include "MotorPrueba.h"
#include "VentanaPrueba.h"

#include <QTimer>

#include <algorithm>
#include <functional>
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

class VentanaPrograma : public VentanaPrueba {
protected:
    void SetUp() override
    {
        VentanaPrueba::SetUp();
        MotorPrueba().Reiniciar();
    }

    // The window on the test's clock, with the re-zero's waits recorded; the
    // modal dialogs are the given ones, or recorded ones.
    TFMain& Crear(std::unique_ptr<TDialogos> dialogos = nullptr)
    {
        TFMain::TDependencias dependencias;
        dependencias.Reloj = [this] { return FAhora; };
        // The loop waits in heartbeat slices; each of the re-zero's waits is
        // recorded whole, and FAlEsperar runs once at its start.
        dependencias.Espera = [this](int milisegundos) {
            const bool panel = !Ui().PanelCalibrandoAcelerometros->isHidden();
            FTramoMaximo = std::max(FTramoMaximo, milisegundos);
            const bool nueva = FEsperas.empty() || FEsperas.back() >= TFMain::EsperaCentrado;
            if (nueva) {
                FEsperas.push_back(0);
                FPanelEnEspera.push_back(panel);
            }
            FEsperas.back() += milisegundos;
            FPanelEnEspera.back() = FPanelEnEspera.back() && panel;
            if (nueva && FAlEsperar)
                FAlEsperar();
        };
        dependencias.Dialogos = std::move(dialogos);
        return VentanaPrueba::Crear(std::move(dependencias));
    }

    // Runs until the engine has handed out every queued event and the loop
    // has pumped once more.
    void EjecutarHastaVaciar()
    {
        int tras = 0;
        Ejecutar([&] { return MotorPrueba().EventosPendientes() == 0 && ++tras > 1; });
    }

    std::int64_t FAhora = 0;
    std::vector<int> FEsperas;
    int FTramoMaximo = 0; // the longest single slice of a wait
    std::function<void()> FAlEsperar; // runs inside each of the loop's plain waits
    std::vector<bool> FPanelEnEspera;
};
