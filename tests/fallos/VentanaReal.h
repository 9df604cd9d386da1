// A whole main window over the real engine library: settings in a folder of
// its own, the real clock, the application's error box and the modal dialogs
// answered by the test, commands recorded. A run of the control loop happens
// inside the click on "Conectar"; the test steers it from a callback run at
// every pump of the window's messages.
#pragma once

#include "Dialogos.h"
#include "Grabacion.h"
#include "Main.h"
#include "RadioGroup.h"
#include "ui_Main.h"

#include <QAction>
#include <QLineEdit>
#include "PanelRegistro.h"
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

// The modal dialogs, answered with the files the test chooses; the boxes shown are kept.
class TDialogosFallos : public TDialogos {
public:
    QString ElegirFicheroGuardar(QWidget*) override { return Guardar; }
    QString ElegirFicheroAbrir(QWidget*) override { return Abrir; }
    void MostrarError(QWidget*, const QString& texto) override { Errores.push_back(texto); }
    void MostrarMensaje(QWidget*, const QString& texto) override { Mensajes.push_back(texto); }

    QString Guardar;
    QString Abrir;
    std::vector<QString> Errores;
    std::vector<QString> Mensajes;
};

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
        auto dialogos = std::make_unique<TDialogosFallos>();
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

    // Clicks "Conectar" and returns when the run has ended. While connected,
    // `alBombear` runs at every pump of the loop; "Desconectar" is clicked
    // as soon as it answers true.
    void Ejecutar(std::function<bool()> alBombear)
    {
        QTimer bomba;
        bomba.setInterval(0);
        QObject::connect(&bomba, &QTimer::timeout, [&] {
            if (FVentana->Conectado() && alBombear())
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
    TDialogosFallos* FDialogos = nullptr;
    std::vector<QString> FErrores;
};
