// A whole main window against a real engine (see VentanaPrueba): port output
// on and recorded, the open dialog answered with a fixed file, and runs of
// the control loop steered from a callback and bounded in time.
#pragma once

#include "VentanaPrueba.h"

#include <ostream>

// Failures show texts as texts.
inline void PrintTo(const QString& texto, std::ostream* salida)
{
    *salida << '"' << texto.toStdString() << '"';
}

class EjecucionReal : public VentanaPrueba {
protected:
    void TearDown() override
    {
        // No run here expects an error or message box.
        if (FVentana && FDialogos) {
            EXPECT_EQ(FDialogos->Errores, std::vector<QString> {});
            EXPECT_EQ(FDialogos->Mensajes, std::vector<QString> {});
        }
        EXPECT_EQ(FErrores, std::vector<QString> {});
        VentanaPrueba::TearDown();
    }

    // The window in headset mode with the chosen engine and port output on;
    // the open dialog answers `perfil`. The log starts empty.
    void Preparar(int motor, const QString& perfil = QString(), TFMain::TDependencias dependencias = {})
    {
        Crear(std::move(dependencias), perfil);
        ModoCasco(motor);
        ActivarSalida();
        LimpiarRegistro();
    }

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

    // The log of a local engine's connect followed by loading the demo
    // profile: the profile's report line by line.
    static std::vector<QString> RegistroConexionDemo()
    {
        return {
            QStringLiteral("I Conectado al Engine Emotiv"),
            QStringLiteral("I Optimización activada"),
            QStringLiteral("I COG.NEUTRAL TIRAR  EXP.NEUTRAL APRETAR DIENTES "),
            QStringLiteral("I Dispositivo detectado"),
            QStringLiteral("I Firmas Cognitivas Entrenadas: COG.NEUTRAL TIRAR "),
            QStringLiteral("I Acciones Cognitivas Activas: COG.NEUTRAL TIRAR "),
            QStringLiteral("I Sesibilidad Retroceso: 5"),
            QStringLiteral("I Nivel de Entrenamiento Cognitivo: 62.00%"),
            QStringLiteral("I Firmas Expresivas Entrenadas: EXP.NEUTRAL APRETAR DIENTES "),
            QStringLiteral("I Sensibilidad Avance: 500"),
        };
    }
};
