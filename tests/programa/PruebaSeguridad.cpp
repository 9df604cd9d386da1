// The vehicle's safety during a run: a lost link, a silent engine (also while
// a modal dialog holds the loop still) and a removed headset each stop the
// drive with a single command.
#include "VentanaPrograma.h"

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <optional>

namespace {

constexpr unsigned Avance = 0x01;
constexpr unsigned Derecha = 0x08;

class Seguridad : public VentanaPrograma {
protected:
    // Headset mode on the emulator with output on, and a script that ends
    // with forward driven and a right turn latched: ten still readings, then
    // one with the head turning right.
    void Preparar()
    {
        Crear();
        ModoCasco(1);
        ActivarSalida();
        FBytesPrevios = FGrabacion.Valores().size();
        LimpiarRegistro();
        for (int i = 0; i < 11; ++i) {
            MotorPrueba().EncolarGiro(i < 10 ? 0 : 150);
            MotorPrueba().EncolarEstado(EstadoApretando(0.8f));
        }
    }

    // The bytes after the last still reading.
    std::vector<unsigned> BytesTrasGiro() const
    {
        const std::vector<unsigned> todos = FGrabacion.Valores();
        return {todos.begin() + std::min(FBytesPrevios + 10, todos.size()), todos.end()};
    }

    std::vector<QString> LineasQueEmpiezan(const QString& prefijo) const
    {
        std::vector<QString> lineas;
        for (const QString& linea : Registro())
            if (linea.startsWith(prefijo))
                lineas.push_back(linea);
        return lineas;
    }

    // Runs the script; then `tras` is called at every later pump with the
    // number of pumps since the queue emptied, until it answers true.
    void EjecutarTras(const std::function<bool(int)>& tras)
    {
        int bombeos = 0;
        Ejecutar([&] { return MotorPrueba().EventosPendientes() == 0 && tras(++bombeos); });
    }

    std::size_t FBytesPrevios = 0;
};

TEST_F(Seguridad, SinDatosDelCascoDuranteUnSegundoSeDetieneElAvanceUnaVez)
{
    Preparar();
    EjecutarTras([&](int bombeo) {
        if (bombeo < 5)
            FAhora = 999;
        else
            FAhora = 1000 + 1000 * (bombeo - 5);
        return bombeo > 10;
    });
    // The turn stays latched and sent; only the drive direction goes.
    EXPECT_EQ(BytesTrasGiro(), (std::vector<unsigned> {Avance | Derecha, Derecha, 0}));
    EXPECT_EQ(LineasQueEmpiezan(QStringLiteral("E ")),
              std::vector<QString> {QStringLiteral("E Sin datos del casco: avance y retroceso detenidos")});
}

TEST_F(Seguridad, UnDialogoModalQueParaElBucleTambienDetieneElAvance)
{
    Preparar();
    bool abierta = false;
    std::vector<unsigned> durante;
    EjecutarTras([&](int bombeo) {
        if (bombeo == 1) {
            // Runs inside the about box, while the loop stands still.
            QTimer::singleShot(0, FVentana.get(), [&] {
                QWidget* caja = QApplication::activeModalWidget();
                abierta = caja != nullptr;
                FAhora = 1000;
                const std::size_t previos = FGrabacion.Valores().size();
                EXPECT_TRUE(QTest::qWaitFor([&] { return FGrabacion.Valores().size() > previos; }, 2000));
                durante = BytesTrasGiro();
                if (caja)
                    caja->close();
            });
            Ui().ActionAcercaDe->trigger();
        }
        return bombeo > 2;
    });
    EXPECT_TRUE(abierta);
    EXPECT_EQ(durante, (std::vector<unsigned> {Avance | Derecha, Derecha}));
    EXPECT_EQ(BytesTrasGiro(), (std::vector<unsigned> {Avance | Derecha, Derecha, 0}));
    EXPECT_EQ(LineasQueEmpiezan(QStringLiteral("E ")).size(), 1u);
}

TEST_F(Seguridad, SinDatosNoActuaMientrasNoSeAvanzaNiRetrocede)
{
    Crear();
    ModoCasco(1);
    ActivarSalida();
    LimpiarRegistro();
    MotorPrueba().EncolarEstado(EstadoApretando(0.2f)); // below the threshold: nothing sent
    const std::size_t previos = FGrabacion.Valores().size();
    int bombeos = 0;
    Ejecutar([&] {
        FAhora += 2000;
        return MotorPrueba().EventosPendientes() == 0 && ++bombeos > 5;
    });
    EXPECT_EQ(FGrabacion.Valores().size(), previos + 2); // the EmoState's command and the end's
    EXPECT_TRUE(LineasQueEmpiezan(QStringLiteral("E ")).empty());
}

TEST_F(Seguridad, EnlacePerdidoParaElVehiculoUnaVezYLuegoSeReanuda)
{
    Preparar();
    QString estadoEnFallo;
    EjecutarTras([&](int bombeo) {
        if (bombeo == 1)
            MotorPrueba().FijarResultado("EE_EngineGetNextEvent", EDK_CONEXION_REMOTA_PERDIDA);
        if (bombeo == 4)
            MotorPrueba().FijarResultado("EE_EngineGetNextEvent", EDK_SIN_EVENTOS);
        if (bombeo == 6) {
            estadoEnFallo = TextoEstado();
            MotorPrueba().FijarResultado("EE_EngineGetNextEvent", EDK_SIN_ERRORES);
            MotorPrueba().EncolarEvento(EE_ProfileEvent);
        }
        return bombeo > 8;
    });
    EXPECT_EQ(estadoEnFallo, QStringLiteral("Error"));
    // All off once; the first event after the link returns sends the held
    // decision again; the end of the run stops everything.
    EXPECT_EQ(BytesTrasGiro(), (std::vector<unsigned> {Avance | Derecha, 0, Avance | Derecha, 0}));
    const std::vector<QString> errores = LineasQueEmpiezan(QStringLiteral("E "));
    ASSERT_EQ(errores.size(), 1u);
    EXPECT_TRUE(errores[0].startsWith(QStringLiteral("E 1281:"))) << errores[0].toStdString();
}

TEST_F(Seguridad, CascoRetiradoDejaElGiroFijadoYQuitaElAvance)
{
    Preparar();
    MotorPrueba().EncolarEvento(EE_UserRemoved);
    MotorPrueba().EncolarEvento(EE_ProfileEvent);
    EjecutarTras([](int bombeo) { return bombeo > 1; });
    EXPECT_EQ(BytesTrasGiro(), (std::vector<unsigned> {Avance | Derecha, Derecha, Derecha, 0}));
}

// Writing a state line repaints the window: the command of a full reading
// reaches the vehicle before its state line is logged.
TEST_F(Seguridad, LaOrdenSaleAntesDeRegistrarLaLineaDeEstado)
{
    Crear();
    ModoCasco(1);
    ActivarSalida();
    Ui().ActionEstados->trigger();
    const std::size_t previos = FGrabacion.Valores().size();
    MotorPrueba().EncolarEstado(EstadoApretando(0.8f));
    std::optional<std::vector<unsigned>> bytesAlRegistrar;
    Ejecutar([&] {
        if (!bytesAlRegistrar && !LineasQueEmpiezan(QStringLiteral("S ")).empty()) {
            const std::vector<unsigned> todos = FGrabacion.Valores();
            bytesAlRegistrar.emplace(todos.begin() + std::min(previos, todos.size()), todos.end());
        }
        return MotorPrueba().EventosPendientes() == 0 && bytesAlRegistrar.has_value();
    });
    ASSERT_TRUE(bytesAlRegistrar.has_value());
    EXPECT_EQ(*bytesAlRegistrar, std::vector<unsigned> {Avance});
}

} // namespace
