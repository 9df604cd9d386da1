// The end of a session by signal (SIGTERM at log-off or shutdown, SIGINT,
// SIGHUP): instead of dying with the last command on the port, the program
// ends any run and closes its window, so the shutdown stops the vehicle.
#pragma once

#include "Descriptor.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QSocketNotifier;

class TSenalesSalida : public QObject {
public:
    // `alRecibir` runs on the window's thread once a signal has arrived.
    explicit TSenalesSalida(std::function<void()> alRecibir);
    ~TSenalesSalida() override;
    TSenalesSalida(const TSenalesSalida&) = delete;
    TSenalesSalida& operator=(const TSenalesSalida&) = delete;

    // Installs the handlers; false (with MensajeError) when the pipe or a
    // handler cannot be set up, and the signals keep their default action.
    bool Instalar();
    QString MensajeError() const { return FMensajeError; }

private:
    void Atender();

    std::function<void()> FAlRecibir;
    TDescriptor FLectura;
    TDescriptor FEscritura;
    std::unique_ptr<QSocketNotifier> FAviso;
    QString FMensajeError;
};
