#include "PuertoParalelo.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <linux/parport.h>
#include <linux/ppdev.h>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define GEDANKO_PUERTO_DIRECTO 1
#endif

namespace fs = std::filesystem;

namespace {

// Number N of a "parportN" name, or -1.
int NumeroPuerto(const std::string& nombre)
{
    const std::string prefijo = "parport";
    if (nombre.size() <= prefijo.size() || nombre.compare(0, prefijo.size(), prefijo) != 0)
        return -1;
    const std::string cifras = nombre.substr(prefijo.size());
    if (cifras.size() > 4
        || !std::all_of(cifras.begin(), cifras.end(), [](unsigned char c) { return std::isdigit(c); }))
        return -1;
    return std::stoi(cifras);
}

// First number of a base-addr file ("888\t1912\n"), or -1.
long BaseDelPuerto(const fs::path& fichero)
{
    std::ifstream entrada(fichero);
    long base = -1;
    if (!(entrada >> base) || base < 0)
        return -1;
    return base;
}

// Numbers of the ports whose base is the address, lowest first: the lowest
// wins when several claim it.
std::vector<int> PuertosEnDireccion(const std::string& raizProc, unsigned direccion)
{
    std::error_code error;
    const fs::path carpeta = fs::path(raizProc) / "sys/dev/parport";
    std::vector<int> numeros;
    for (fs::directory_iterator it(carpeta, error), fin; !error && it != fin; it.increment(error)) {
        const int numero = NumeroPuerto(it->path().filename().string());
        if (numero >= 0 && BaseDelPuerto(it->path() / "base-addr") == static_cast<long>(direccion))
            numeros.push_back(numero);
    }
    std::sort(numeros.begin(), numeros.end());
    return numeros;
}

} // namespace

TPuertoParalelo::TPuertoParalelo(unsigned direccion, std::string raizProc, std::string raizDev)
    : FDireccion(direccion),
      FRaizProc(std::move(raizProc)),
      FRaizDev(std::move(raizDev))
{
}

TPuertoParalelo::~TPuertoParalelo()
{
    if (FDescriptor >= 0) {
        ioctl(FDescriptor, PPRELEASE);
        close(FDescriptor);
    }
}

std::string TPuertoParalelo::BuscarDispositivo(const std::string& raizProc, const std::string& raizDev,
                                               unsigned direccion)
{
    std::error_code error;
    for (int numero : PuertosEnDireccion(raizProc, direccion)) {
        const fs::path dispositivo = fs::path(raizDev) / ("parport" + std::to_string(numero));
        if (fs::exists(dispositivo, error))
            return dispositivo.string();
    }
    return {};
}

bool TPuertoParalelo::RegionDeclarada(const std::string& raizProc, unsigned direccion)
{
    // Lines such as "  0378-037a : parport0", indented when nested. Only a
    // parallel port's own region counts, not a bus range that spans it.
    std::ifstream entrada(fs::path(raizProc) / "ioports");
    std::string linea;
    while (std::getline(entrada, linea)) {
        unsigned long desde = 0, hasta = 0;
        char nombre[16] = {};
        if (std::sscanf(linea.c_str(), " %lx-%lx : %15s", &desde, &hasta, nombre) == 3
            && std::string_view(nombre).starts_with("parport") && desde <= direccion && direccion <= hasta
            && hasta != 0)
            return true;
    }
    return false;
}

bool TPuertoParalelo::Abrir()
{
    if (!FIntentado) {
        FIntentado = true;
        // The device's failure is the one worth telling: direct I/O is only
        // a fallback for privileged processes.
        if (AbrirDispositivo())
            FAcceso = accDispositivo;
        else if (AbrirDirecto())
            FAcceso = accDirecto;
        if (FAcceso != accNinguno)
            FCausa = cpNinguna;
    }
    return FAcceso != accNinguno;
}

bool TPuertoParalelo::AbrirDispositivo()
{
    const std::string dispositivo = BuscarDispositivo(FRaizProc, FRaizDev, FDireccion);
    if (dispositivo.empty()) {
        // The kernel may know the port without its ppdev device.
        const bool hayPuerto
            = !PuertosEnDireccion(FRaizProc, FDireccion).empty() || RegionDeclarada(FRaizProc, FDireccion);
        FCausa = hayPuerto ? cpSinDispositivo : cpSinPuerto;
        return false;
    }
    const int descriptor = open(dispositivo.c_str(), O_RDWR | O_CLOEXEC);
    if (descriptor < 0) {
        FCausa = (errno == EACCES || errno == EPERM) ? cpSinPermiso : cpDispositivoFallido;
        return false;
    }
    if (ioctl(descriptor, PPCLAIM) != 0) {
        close(descriptor);
        FCausa = cpDispositivoFallido;
        return false;
    }
    FDescriptor = descriptor;
    return true;
}

bool TPuertoParalelo::AbrirDirecto()
{
#ifdef GEDANKO_PUERTO_DIRECTO
    // Writing to an address where no device answers is never useful, so the
    // kernel must know the port before we write to it behind its back.
    if (FDireccion > 0xFFFF || !RegionDeclarada(FRaizProc, FDireccion))
        return false;
    return ioperm(FDireccion, 1, 1) == 0;
#else
    return false;
#endif
}

bool TPuertoParalelo::Escribir(std::uint8_t valor)
{
    if (!Abrir())
        return false;
    if (FAcceso == accDispositivo) {
        unsigned char dato = valor;
        return ioctl(FDescriptor, PPWDATA, &dato) == 0;
    }
#ifdef GEDANKO_PUERTO_DIRECTO
    outb(valor, static_cast<unsigned short>(FDireccion));
    return true;
#else
    return false;
#endif
}
