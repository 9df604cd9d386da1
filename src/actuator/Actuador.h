// The vehicle actuator: loads the port-output library and writes the command
// byte (OrdenVehiculo.h) to the parallel port's data register (PuertoDatos.h)
// while output is switched on.
#pragma once

#include "Tipos.h"

#include <QString>
#include <cstdint>
#include <memory>

class TActuador {
public:
    static constexpr const char* LibreriaPuerto = "libinpout32.so";

    // Loads the library by the given name with the system's normal search
    // (LD_LIBRARY_PATH, then the executable's RUNPATH); tests pass a path.
    explicit TActuador(const char* libreria = LibreriaPuerto);
    ~TActuador(); // unloads the library; writes nothing
    TActuador(const TActuador&) = delete;
    TActuador& operator=(const TActuador&) = delete;

    bool HayError() const { return FError; }
    QString MensajeError() const { return FMensajeError; }
    // Why the load failed and what to do about it; empty when none.
    QString CausaError() const { return FCausaError; }
    bool Habilitado() const { return FHabilitado; }

    bool Habilitar(bool activo);
    bool Parar();
    bool Mover(TDireccion direccion, TGiro giro);
    bool Escribir(std::uint16_t valor);

private:
    struct TCerrarLibreria {
        void operator()(void* libreria) const noexcept;
    };
    using TOut32 = void (*)(short puerto, short dato);

    bool PuertoCerrado() const;
    void Fallar(const char* mensaje, const QString& causa);

    std::unique_ptr<void, TCerrarLibreria> FLibreria;
    TOut32 FOut32 = nullptr;
    bool FHabilitado = false;
    bool FError = false;
    QString FMensajeError;
    QString FCausaError;
};
