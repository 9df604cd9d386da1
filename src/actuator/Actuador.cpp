#include "Actuador.h"
#include "CausaPuerto.h"
#include "EnlaceSerie.h"
#include "EnlaceUdp.h"
#include "OrdenVehiculo.h"
#include "PuertoDatos.h"
#include "SalidaTrama.h"
#include "Trama.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include <dlfcn.h>

namespace {

const char* const TextoErrorLibreria = "Error cargando dll";
const char* const TextoErrorSalida = "Error abriendo la salida";
const char* const TextoErrorFuncion = "Error obteniendo el puntero a la función de salida";

// The second line of a load error: why, and where the fix is told (%1 is the
// library's name, %2 the port's address). Short enough to be read whole in
// the log pane.
const char* const TextoSinLibreria = "No se encuentra %1 o no es válida; vea docs/puerto.md.";
const char* const TextoSinPuerto = "No hay ningún puerto paralelo en la dirección %2; vea docs/puerto.md.";
const char* const TextoSinDispositivo = "El puerto %2 no tiene /dev/parportN (falta ppdev); vea docs/puerto.md.";
const char* const TextoSinPermiso = "Sin permiso para abrir /dev/parportN (grupo lp); vea docs/puerto.md.";
const char* const TextoDispositivoFallido = "No se puede abrir ni reservar /dev/parportN; vea docs/puerto.md.";
const char* const TextoPuertoInalcanzable = "%1 dice que no alcanza el puerto %2; vea docs/puerto.md.";
const char* const TextoSinOut32 = "%1 no tiene la función Out32; vea docs/puerto.md.";

// The port library's exports: the output, and optionally whether its port can
// be reached and, ours only, why not.
const char* const FuncionSalida = "Out32";
const char* const FuncionDriverAbierto = "IsInpOutDriverOpen";
const char* const FuncionCausa = "CausaPuertoCerrado";

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

QString TextoConLibreria(const char* texto)
{
    return QString::fromUtf8(texto).arg(QString::fromUtf8(TActuador::LibreriaPuerto));
}

// Fills in %2 once no %1 is left.
QString TextoConPuerto(const QString& texto)
{
    return texto.arg(PuertoDatos);
}

// The cause a library gives for its closed port; a library that cannot say
// (not ours) gets the general text.
QString TextoCausa(void* libreria)
{
    using TCausa = int (*)();
    const auto causa = reinterpret_cast<TCausa>(dlsym(libreria, FuncionCausa));
    switch (causa ? causa() : cpNinguna) {
    case cpSinPuerto:
        return TextoConPuerto(QString::fromUtf8(TextoSinPuerto));
    case cpSinDispositivo:
        return TextoConPuerto(QString::fromUtf8(TextoSinDispositivo));
    case cpSinPermiso:
        return QString::fromUtf8(TextoSinPermiso);
    case cpDispositivoFallido:
        return QString::fromUtf8(TextoDispositivoFallido);
    default:
        return TextoConPuerto(TextoConLibreria(TextoPuertoInalcanzable));
    }
}

} // namespace

void TActuador::TCerrarLibreria::operator()(void* libreria) const noexcept
{
    dlclose(libreria);
}

TActuador::TActuador(const char* libreria)
{
    CargarPuerto(libreria);
}

TActuador::TActuador(QStringView destino, const char* libreria)
{
    if (!FDestino.Interpretar(destino)) {
        Fallar(TextoErrorSalida, FDestino.MensajeError());
        return;
    }
    if (FDestino.Tipo() == TDestinoSalida::tdParalelo)
        CargarPuerto(libreria);
    else
        AbrirTrama();
}

void TActuador::AbrirTrama()
{
    std::unique_ptr<TEnlaceTrama> enlace;
    if (FDestino.Tipo() == TDestinoSalida::tdSerie)
        enlace = std::make_unique<TEnlaceSerie>(FDestino.Dispositivo(), FDestino.Baudios());
    else
        enlace = std::make_unique<TEnlaceUdp>(FDestino.Equipo(), FDestino.Puerto(), FDestino.Clave());
    FTrama = std::make_unique<TSalidaTrama>(std::move(enlace), FDestino.Texto());
    FTrama->FijarClave(FDestino.Clave());
    if (!FTrama->Abrir()) {
        const QString causa = FTrama->MensajeError();
        FTrama.reset();
        Fallar(TextoErrorSalida, causa);
    }
}

void TActuador::FijarAviso(std::function<void(bool error, const QString& linea)> aviso)
{
    if (FTrama)
        FTrama->FijarAviso(std::move(aviso));
}

void TActuador::FijarVigente(std::function<std::uint8_t()> vigente)
{
    if (FTrama)
        FTrama->FijarVigente(std::move(vigente));
}

void TActuador::Repetir()
{
    if (FTrama && FHabilitado)
        FTrama->Repetir();
}

int TActuador::IntervaloLatido()
{
    return trama::IntervaloLatidoMs;
}

void TActuador::CargarPuerto(const char* libreria)
{
    FLibreria.reset(CargarLibreria(libreria));
    if (!FLibreria) {
        Fallar(TextoErrorLibreria, TextoConLibreria(TextoSinLibreria));
        return;
    }
    // A library that says its port cannot be reached counts as not loaded:
    // nothing would ever reach the vehicle.
    if (PuertoCerrado()) {
        const QString causa = TextoCausa(FLibreria.get());
        FLibreria.reset();
        Fallar(TextoErrorLibreria, causa);
        return;
    }
    FOut32 = reinterpret_cast<TOut32>(dlsym(FLibreria.get(), FuncionSalida));
    if (!FOut32)
        Fallar(TextoErrorFuncion, TextoConLibreria(TextoSinOut32));
}

bool TActuador::PuertoCerrado() const
{
    using TDriverAbierto = int (*)();
    const auto driverAbierto = reinterpret_cast<TDriverAbierto>(dlsym(FLibreria.get(), FuncionDriverAbierto));
    return driverAbierto && driverAbierto() == 0;
}

void TActuador::Fallar(const char* mensaje, const QString& causa)
{
    FError = true;
    FMensajeError = QString::fromUtf8(mensaje);
    FCausaError = causa;
}

TActuador::~TActuador() = default;

bool TActuador::Habilitar(bool activo)
{
    FHabilitado = activo && !FError;
    if (FOut32 || FTrama)
        Parar();
    // The receiver stops by itself once the repeats end.
    if (FTrama)
        FTrama->Latir(FHabilitado);
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
    Escribir(OrdenVehiculo(direccion, giro));
    return true;
}

bool TActuador::Escribir(std::uint16_t valor)
{
    if (FTrama)
        return FTrama->Enviar(static_cast<std::uint8_t>(valor));
    // Without an entry point there is nothing to call; say so rather than
    // pretend the byte went out.
    if (!FOut32)
        return false;
    FOut32(PuertoDatos, static_cast<short>(valor));
    return true;
}
