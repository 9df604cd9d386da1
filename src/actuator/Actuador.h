// The vehicle actuator: writes the command byte (OrdenVehiculo.h) while
// output is switched on, to the parallel port's data register (PuertoDatos.h)
// through the port-output library, or as frames over a serial device or UDP
// (TSalidaTrama) when gedanko.ini names such a destination.
#pragma once

#include "DestinoSalida.h"
#include "Tipos.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <functional>
#include <memory>

class TSalidaTrama;

class TActuador {
public:
    static constexpr const char* LibreriaPuerto = "libinpout32.so";

    // Loads the library by the given name with the system's normal search
    // (LD_LIBRARY_PATH, then the executable's RUNPATH); tests pass a path.
    explicit TActuador(const char* libreria = LibreriaPuerto);
    // The destination as written in gedanko.ini (TDestinoSalida); the
    // library is loaded only for the parallel port.
    TActuador(QStringView destino, const char* libreria);
    ~TActuador(); // unloads the library; writes nothing to the parallel port
    TActuador(const TActuador&) = delete;
    TActuador& operator=(const TActuador&) = delete;

    bool HayError() const { return FError; }
    QString MensajeError() const { return FMensajeError; }
    // Why the load failed and what to do about it; empty when none.
    QString CausaError() const { return FCausaError; }
    bool Habilitado() const { return FHabilitado; }
    const TDestinoSalida& Destino() const { return FDestino; }
    // Lines for the log while running: a frame link lost and back again.
    void FijarAviso(std::function<void(bool error, const QString& linea)> aviso);
    // What a frame output's heartbeat repeats: the command current at each
    // beat, never merely the last one written.
    void FijarVigente(std::function<std::uint8_t()> vigente);
    // One heartbeat now, for a caller that holds the message loop still (a
    // plain wait); nothing on the parallel port, which holds its byte.
    void Repetir();
    // How often a frame output repeats the current command.
    static int IntervaloLatido();

    bool Habilitar(bool activo);
    bool Parar();
    bool Mover(TDireccion direccion, TGiro giro);
    bool Escribir(std::uint16_t valor);

private:
    struct TCerrarLibreria {
        void operator()(void* libreria) const noexcept;
    };
    using TOut32 = void (*)(short puerto, short dato);

    void CargarPuerto(const char* libreria);
    void AbrirTrama();
    bool PuertoCerrado() const;
    void Fallar(const char* mensaje, const QString& causa);

    TDestinoSalida FDestino;
    std::unique_ptr<TSalidaTrama> FTrama;
    std::unique_ptr<void, TCerrarLibreria> FLibreria;
    TOut32 FOut32 = nullptr;
    bool FHabilitado = false;
    bool FError = false;
    QString FMensajeError;
    QString FCausaError;
};
