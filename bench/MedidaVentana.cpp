#include "MedidaVentana.h"

#include "ContadorPintados.h"
#include "Emparejamiento.h"
#include "FormularioMain.h"
#include "Main.h"
#include "PreparacionVentana.h"
#include "Procesador.h"
#include "PuertoSellado.h"
#include "Salida.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

#include <cstdio>

namespace {

constexpr std::size_t MaximoInundacion = 2'000'000;

} // namespace

int TMedidaVentana::Ejecutar(TModoGuion modo, double estadosPorSegundo, double segundos, bool estados,
                             std::uint32_t estadosPorOrden)
{
    const std::size_t capacidad
        = modo == TModoGuion::Inundacion ? MaximoInundacion : std::size_t(segundos * estadosPorSegundo) + 1000;
    ConfigurarGuion(modo, estadosPorSegundo, capacidad, estadosPorOrden);
    ReservarPuerto(capacidad + 100);

    TFMain ventana;
    ventana.show();
    AsentarVentana();
    if (!PrepararVentana(ventana, estados))
        return 2;

    QTimer::singleShot(int(segundos * 1000), &ventana,
                       [&ventana] { TFormularioMain(ventana).ActionDesconectar->trigger(); });
    TContadorPintados* pintados = TContadorPintados::InstalarSiSePide();
    const double procesadorAntes = SegundosProcesador();
    const std::int64_t antes = AhoraGuion();
    TFormularioMain(ventana).ActionConectar->trigger();
    const double duracion = double(AhoraGuion() - antes) / 1e9;
    const double procesador = SegundosProcesador() - procesadorAntes;
    if (pintados)
        pintados->Imprimir("the run");

    if (duracion < segundos * 0.9 || ventana.Conectado()) {
        std::fprintf(stderr, "banco: \"Conectar\" returned after %.3f s instead of running the loop for %.1f s\n",
                     duracion, segundos);
        return 2;
    }
    TResultadoRun run = TEmparejamiento::Emparejar();
    TFiguras figuras = FigurasDeRun(run);
    figuras.emplace_back("perdidos", double(PerdidosPuerto()));
    figuras.emplace_back("procesador_pct", 100.0 * procesador / duracion);
    ImprimirFiguras(figuras);
    return 0;
}
