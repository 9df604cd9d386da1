// Reaches the data register of the parallel port at one I/O address: through
// the kernel's ppdev device whose port sits at that address, or by direct port
// I/O when the process may do it and the kernel lists a parallel port's I/O
// region at that address. The /proc and /dev roots are parameters so that the
// lookup runs on a fake tree.
#pragma once

#include "CausaPuerto.h"
#include "PuertoDatos.h"

#include <cstdint>
#include <string>

class TPuertoParalelo {
public:
    explicit TPuertoParalelo(unsigned direccion = PuertoDatos, std::string raizProc = "/proc",
                             std::string raizDev = "/dev");
    ~TPuertoParalelo(); // releases the claimed port
    TPuertoParalelo(const TPuertoParalelo&) = delete;
    TPuertoParalelo& operator=(const TPuertoParalelo&) = delete;

    // The ppdev device whose port has its base at the address ("" when none).
    static std::string BuscarDispositivo(const std::string& raizProc, const std::string& raizDev, unsigned direccion);
    // Whether the kernel lists a parallel port's I/O region holding the address.
    static bool RegionDeclarada(const std::string& raizProc, unsigned direccion);

    // Opens the port on first use, the device first; later calls answer
    // from that first attempt.
    bool Abrir();
    bool Escribir(std::uint8_t valor);

    enum TAcceso : std::uint8_t { accNinguno, accDispositivo, accDirecto };
    TAcceso Acceso() const { return FAcceso; }
    // Why the port could not be opened; cpNinguna once it is open.
    TCausaPuerto Causa() const { return FCausa; }

private:
    bool AbrirDispositivo();
    bool AbrirDirecto();

    unsigned FDireccion;
    std::string FRaizProc;
    std::string FRaizDev;
    bool FIntentado = false;
    TAcceso FAcceso = accNinguno;
    TCausaPuerto FCausa = cpNinguna;
    int FDescriptor = -1;
};
