#include "Actuador.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include <dlfcn.h>

namespace {

const char* const TextoErrorLibreria = "Error cargando dll";
const char* const TextoErrorFuncion = "Error obteniendo el puntero a la función de salida";

// A bare name goes through the loader's search: LD_LIBRARY_PATH, then the
// program's RUNPATH (its own folder). When a runtime wraps dlopen (the
// sanitizers do), the loader applies the wrapper's RUNPATH instead of ours,
// so the program's folder is then searched here.
void* CargarLibreria(const char* nombre)
{
    // dlopen takes no name or an empty one as the program itself.
    if (!nombre || !*nombre)
        return nullptr;
    void* libreria = dlopen(nombre, RTLD_NOW);
    if (libreria || std::strchr(nombre, '/'))
        return libreria;
    std::error_code error;
    const std::filesystem::path programa = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return nullptr;
    return dlopen((programa.parent_path() / nombre).c_str(), RTLD_NOW);
}

} // namespace

void TActuador::TCerrarLibreria::operator()(void* libreria) const noexcept
{
    dlclose(libreria);
}

TActuador::TActuador(const char* libreria)
{
    FLibreria.reset(CargarLibreria(libreria));
    if (FLibreria) {
        // A library that can tell whether its port is reachable and says it
        // is not counts as not loaded: nothing would ever reach the vehicle.
        using TDriverAbierto = int (*)();
        auto driverAbierto = reinterpret_cast<TDriverAbierto>(dlsym(FLibreria.get(), "IsInpOutDriverOpen"));
        if (driverAbierto && driverAbierto() == 0)
            FLibreria.reset();
    }
    if (!FLibreria) {
        FError = true;
        FMensajeError = QString::fromUtf8(TextoErrorLibreria);
        return;
    }
    FOut32 = reinterpret_cast<TOut32>(dlsym(FLibreria.get(), "Out32"));
    if (!FOut32) {
        FError = true;
        FMensajeError = QString::fromUtf8(TextoErrorFuncion);
    }
}

TActuador::~TActuador() = default;

bool TActuador::Habilitar(bool activo)
{
    FHabilitado = activo && !FError;
    if (FOut32)
        Parar();
    return FHabilitado;
}

bool TActuador::Parar()
{
    return Escribir(OrdenParada);
}

bool TActuador::Mover(TDireccion direccion, TGiro giro)
{
    if (!FHabilitado)
        return false;
    Escribir(Orden(direccion, giro));
    return true;
}

bool TActuador::Escribir(std::uint16_t valor)
{
    // Without an entry point there is nothing to call; say so rather than
    // pretend the byte went out.
    if (!FOut32)
        return false;
    FOut32(PuertoDatos, static_cast<short>(valor));
    return true;
}

std::uint16_t TActuador::Orden(TDireccion direccion, TGiro giro)
{
    std::uint16_t orden = 0;
    if (direccion == dirAvance)
        orden |= 0x01;
    else if (direccion == dirRetroceso)
        orden |= 0x02;
    if (giro == giroIzquierda)
        orden |= 0x04;
    else if (giro == giroDerecha)
        orden |= 0x08;
    return orden;
}
