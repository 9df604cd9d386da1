#include "MedidaVentana.h"

#include "ContadorPintados.h"
#include "Emparejamiento.h"
#include "FormularioMain.h"
#include "Main.h"
#include "Procesador.h"
#include "PuertoSellado.h"
#include "RadioGroup.h"
#include "Salida.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QTimer>

#include <cstdio>

namespace {

constexpr std::size_t MaximoInundacion = 2'000'000;

// Lets the window be shown and painted before anything is measured.
void Asentar()
{
    QElapsedTimer reloj;
    reloj.start();
    while (reloj.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool Preparar(TFMain& ventana, bool estados)
{
    const TFormularioMain ui {ventana};
    ui.ActionCasco->trigger();
    ui.RadioGroupMotor->Boton(1)->click();
    if (!ui.ActionActuador->isChecked())
        ui.ActionActuador->trigger();
    if (ui.ActionEstados->isChecked() != estados)
        ui.ActionEstados->trigger();
    Asentar();
    if (ventana.ModoManual() || ui.RadioGroupMotor->IndiceElemento() != 1 || !ui.ActionActuador->isChecked()
        || ui.ActionEstados->isChecked() != estados || !ui.ActionConectar->isEnabled()) {
        std::fprintf(stderr, "banco: the window did not reach headset mode with EmoComposer and port output on\n");
        return false;
    }
    return true;
}

} // namespace

int TMedidaVentana::Ejecutar(TModoGuion modo, double estadosPorSegundo, double segundos, bool estados)
{
    const std::size_t capacidad
        = modo == TModoGuion::Inundacion ? MaximoInundacion : std::size_t(segundos * estadosPorSegundo) + 1000;
    ConfigurarGuion(modo, estadosPorSegundo, capacidad);
    ReservarPuerto(capacidad + 100);

    TFMain ventana;
    ventana.show();
    Asentar();
    if (!Preparar(ventana, estados))
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
