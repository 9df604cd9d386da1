#include "MedidaRegistro.h"

#include "ConexionEmulador.h"
#include "ContadorPintados.h"
#include "Main.h"
#include "Memoria.h"
#include "Modelo.h"
#include "MotorGuion.h"
#include "Muestras.h"
#include "PanelRegistro.h"
#include "Salida.h"
#include "ServidorEmulador.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <cmath>
#include <vector>

namespace {

// Appends are timed one by one within this many lines of each mark.
constexpr int Ventana = 25;
constexpr int Marcas[] = {100, 100'000};
// The flood's memory is read here and at its end.
constexpr int MarcaInundacion = 100'000;
// The flood lets the pane paint after this many lines, as a busy window would.
constexpr int LineasPorPintado = 100;

// The state lines the program writes, read from the scripted engine through
// the real connection, so that their length and content are the program's.
QStringList LineasDeEstado(int num)
{
    QStringList lineas;
    ConfigurarGuion(TModoGuion::Inundacion, edk::EstadosPorSegundo, 0);
    TConexionEmulador conexion(DireccionEmuladorPorDefecto, PuertoEmuladorPorDefecto);
    conexion.Conectar();
    while (lineas.size() < num) {
        if (conexion.LeerEvento() && conexion.LeerEstado()) {
            TGiro giro = giroNinguno;
            conexion.LeerGiro(giro);
            lineas.append(conexion.TextoEstado());
        }
    }
    conexion.Desconectar();
    return lineas;
}

} // namespace

int TMedidaRegistro::Ejecutar(int lineas)
{
    TFMain ventana;
    ventana.show();
    QElapsedTimer reloj;
    reloj.start();
    while (reloj.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

    // The texts repeat with a period far longer than the marks' windows;
    // they are built beforehand so that only the appending is timed.
    const QStringList textos = LineasDeEstado(4096);
    TContadorPintados* pintados = TContadorPintados::InstalarSiSePide();
    const long memoriaAntes = PicoMemoriaKb();
    TMuestras costes[std::size(Marcas)];
    const std::int64_t inicio = AhoraGuion();
    for (int n = 1; n <= lineas; ++n) {
        const QString& texto = textos[(n - 1) % textos.size()];
        const std::int64_t antes = AhoraGuion();
        ventana.Registrar(nrEstado, texto);
        const double coste = double(AhoraGuion() - antes) / 1e3;
        for (std::size_t m = 0; m < std::size(Marcas); ++m)
            if (n >= Marcas[m] - Ventana && n <= Marcas[m] + Ventana)
                costes[m].Anadir(coste);
    }
    const double total = double(AhoraGuion() - inicio) / 1e9;
    if (pintados)
        pintados->Imprimir("the appends");

    ImprimirFiguras({
        {"lineas", double(lineas)},
        {"coste_100_us", costes[0].Mediana()},
        {"coste_100000_us", costes[1].Mediana()},
        {"razon", costes[1].Mediana() / costes[0].Mediana()},
        {"total_s", total},
        {"vmhwm_antes_mb", double(memoriaAntes) / 1024},
        {"vmhwm_mb", double(PicoMemoriaKb()) / 1024},
    });
    return 0;
}

int TMedidaRegistro::Inundar(int lineas)
{
    // The pane alone, at its size in the main window: the window's own work
    // per Registrar would make a million lines take a quarter of an hour.
    QWidget ventana;
    auto* panel = new TPanelRegistro(&ventana);
    panel->setGeometry(3, 3, 483, 108);
    ventana.resize(489, 114);
    ventana.show();
    QCoreApplication::processEvents();

    const QStringList textos = LineasDeEstado(4096);
    const double antesMb = double(PicoMemoriaKb()) / 1024;
    double marcaMb = NAN; // a shorter flood never reaches the mark
    const std::int64_t inicio = AhoraGuion();
    for (int n = 1; n <= lineas; ++n) {
        panel->Anadir(nrError, textos[(n - 1) % textos.size()]);
        if (n % LineasPorPintado == 0)
            QCoreApplication::processEvents();
        if (n == MarcaInundacion)
            marcaMb = double(PicoMemoriaKb()) / 1024;
    }
    const double total = double(AhoraGuion() - inicio) / 1e9;
    const double finMb = double(PicoMemoriaKb()) / 1024;

    ImprimirFiguras({
        {"lineas", double(lineas)},
        {"lineas_por_s", lineas / total},
        {"vmhwm_antes_mb", antesMb},
        {"vmhwm_marca_mb", marcaMb},
        {"vmhwm_mb", finMb},
        {"crecimiento_mb", finMb - marcaMb},
    });
    return 0;
}
