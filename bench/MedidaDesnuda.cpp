#include "MedidaDesnuda.h"

#include "Actuador.h"
#include "ConexionEmulador.h"
#include "Emparejamiento.h"
#include "EstadoConduccion.h"
#include "Procesador.h"
#include "PuertoSellado.h"
#include "Salida.h"
#include "ServidorEmulador.h"

#include <array>
#include <cstdio>
#include <poll.h>

namespace {

constexpr std::size_t MaximoInundacion = 2'000'000;
// The program's wait per pass while events keep coming (ms).
constexpr int EsperaReferencia = 1;

// One pass of the loop's event handling: gates, then the decision's outputs.
void Atender(TConexion& conexion, TEstadoConduccion& estado, TActuador& actuador)
{
    if (conexion.LeerEstado()) {
        std::array<int, NumElectrodos> contactos {};
        bool utilizables = false;
        if (conexion.NivelSenal() == nsBuena)
            conexion.CalidadContacto(contactos, utilizables);
        if (utilizables)
            estado.LecturaCompleta(conexion.LeerLectura(), UmbralPorDefecto, UmbralPorDefecto);
        else
            estado.Rechazar();
    }
    const TSalidasConduccion salidas = estado.Salidas();
    actuador.Mover(salidas.DireccionEnviada, salidas.GiroEnviado);
}

} // namespace

int TMedidaDesnuda::Ejecutar(TModoGuion modo, double estadosPorSegundo, double segundos, bool esperar,
                             std::uint32_t estadosPorOrden)
{
    // At a flood the run also ends once the record is full.
    const std::size_t capacidad
        = modo == TModoGuion::Inundacion ? MaximoInundacion : std::size_t(segundos * estadosPorSegundo) + 1000;
    ConfigurarGuion(modo, estadosPorSegundo, capacidad, estadosPorOrden);
    ReservarPuerto(capacidad + 100);

    TActuador actuador;
    if (actuador.HayError() || !actuador.Habilitar(true)) {
        std::fprintf(stderr, "banco: the port library did not load\n");
        return 2;
    }
    TConexionEmulador conexion(DireccionEmuladorPorDefecto, PuertoEmuladorPorDefecto);
    if (!conexion.Conectar())
        return 2;
    conexion.ActivarOptimizacion();
    TEstadoConduccion estado;

    const std::int64_t fin = AhoraGuion() + std::int64_t(segundos * 1e9);
    const double procesadorAntes = SegundosProcesador();
    while (AhoraGuion() < fin && EstadosEntregadosGuion() < capacidad) {
        if (conexion.LeerEvento())
            Atender(conexion, estado, actuador);
        else if (esperar)
            ::poll(nullptr, 0, EsperaReferencia);
    }
    const double procesador = SegundosProcesador() - procesadorAntes;
    actuador.Mover(dirNinguna, giroNinguno);
    conexion.Desconectar();

    TResultadoRun run = TEmparejamiento::Emparejar();
    TFiguras figuras = FigurasDeRun(run);
    figuras.emplace_back("perdidos", double(PerdidosPuerto()));
    figuras.emplace_back("procesador_pct", 100.0 * procesador / segundos);
    ImprimirFiguras(figuras);
    return 0;
}
