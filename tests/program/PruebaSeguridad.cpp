// The vehicle's safety during a run: a lost link, a silent engine (also while
// a modal dialog holds the loop still) and a removed headset each stop the
// drive with a single command.
#include "VentanaPrograma.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
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
    // The loop keeps running (a pump every 50 ms): only the engine is silent.
    EjecutarTras([&](int bombeo) {
        FAhora = 50 * bombeo;
        return FAhora > 3 * TFMain::SilencioMaximo;
    });
    // The turn stays latched and sent; only the drive direction goes.
    EXPECT_EQ(BytesTrasGiro(), (std::vector<unsigned> {Avance | Derecha, Derecha, 0}));
    EXPECT_EQ(LineasQueEmpiezan(QStringLiteral("E ")),
              std::vector<QString> {QStringLiteral("E Sin datos del casco: avance y retroceso detenidos")});
}

// The loop no longer decides while a dialog holds it: forward goes off as
// soon as the loop has stood still for longer than PausaMaxima, with the
// engine's data still coming, and nothing claims a silent headset.
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
                FAhora = TFMain::PausaMaxima + 1;
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
    EXPECT_TRUE(LineasQueEmpiezan(QStringLiteral("E ")).empty());
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
    // All off once; the first event after the link returns sends the latched
    // turn but not the forward decided before the loss; the end of the run
    // stops everything.
    EXPECT_EQ(BytesTrasGiro(), (std::vector<unsigned> {Avance | Derecha, 0, Derecha, 0}));
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

// The vehicle never acts on a state that is no longer current: whatever
// queued while the loop stood still is read and shown, but drives only once
// the engine's queue has been found empty.
class EstadosAtrasados : public Seguridad {
protected:
    void SetUp() override
    {
        Seguridad::SetUp();
        Crear();
        ModoCasco(1);
        ActivarSalida();
        LimpiarRegistro();
        FPrevios = FGrabacion.Valores().size();
    }

    std::vector<unsigned> Bytes() const
    {
        const std::vector<unsigned> todos = FGrabacion.Valores();
        return {todos.begin() + std::min(FPrevios, todos.size()), todos.end()};
    }

    static void Encolar(int cuantos, float potencia)
    {
        for (int i = 0; i < cuantos; ++i)
            MotorPrueba().EncolarEstado(potencia > 0 ? EstadoApretando(potencia) : EstadoBueno());
    }

    // Runs `fases` in turn, each once the loop has polled the engine and
    // found its queue empty, then disconnects.
    void EjecutarFases(std::vector<std::function<void()>> fases)
    {
        std::size_t siguiente = 0;
        int sondeosAlVaciarse = -1;
        Ejecutar([&] {
            const int sondeos = MotorPrueba().Cuenta("EE_EngineGetNextEvent");
            if (MotorPrueba().EventosPendientes() != 0) {
                sondeosAlVaciarse = -1;
                return false;
            }
            if (sondeosAlVaciarse < 0)
                sondeosAlVaciarse = sondeos;
            if (sondeos == sondeosAlVaciarse)
                return false;
            sondeosAlVaciarse = -1;
            if (siguiente == fases.size())
                return true;
            fases[siguiente++]();
            return false;
        });
    }

    std::size_t FPrevios = 0;
};

TEST_F(EstadosAtrasados, LoQueSeEncoloDuranteUnDialogoModalNoConduce)
{
    struct TCaso {
        const char* nombre;
        std::int64_t pausa; // ms the about box holds the loop
        std::vector<unsigned> bytes;
    };
    // Three fresh clenches drive; the pause's five clenches and two neutral
    // states do not; the first clench after the queue ran dry drives again.
    const TCaso casos[] = {
        {"pausa corta", 500, {1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0}},
        {"el silencio ya paró", 3000, {1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}},
    };
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        FPrevios = FGrabacion.Valores().size();
        EjecutarFases({[] { Encolar(3, 0.9f); },
                       [&] {
                           QTimer::singleShot(0, FVentana.get(), [&] {
                               FAhora += caso.pausa;
                               if (caso.pausa >= TFMain::SilencioMaximo) {
                                   const std::size_t antes = FGrabacion.Valores().size();
                                   EXPECT_TRUE(QTest::qWaitFor([&] { return FGrabacion.Valores().size() > antes; }));
                               }
                               Encolar(5, 0.9f);
                               Encolar(2, 0);
                               QApplication::activeModalWidget()->close();
                           });
                           Ui().ActionAcercaDe->trigger();
                       },
                       [] { Encolar(1, 0.9f); }});
        EXPECT_EQ(Bytes(), caso.bytes);
    }
}

TEST_F(EstadosAtrasados, ElCentradoDelGiroscopioParaAntesDeEsperarYNoReproduceLoEncolado)
{
    std::vector<std::vector<unsigned>> alEsperar;
    FAlEsperar = [&] {
        alEsperar.push_back(Bytes());
        // The headset goes on sending while the loop waits.
        Encolar(4, 0.9f);
    };
    EjecutarFases({[] { Encolar(2, 0.9f); },
                   [&] {
                       Ui().ActionCentrarCasco->trigger();
                       Encolar(1, 0.9f);
                   },
                   [] { Encolar(1, 0.9f); }});
    ASSERT_EQ(FEsperas, (std::vector<int> {TFMain::EsperaCentrado, TFMain::EsperaCentrado}));
    // Forward stopped before the first wait and stayed stopped through both.
    EXPECT_EQ(alEsperar[0], (std::vector<unsigned> {1, 1, 0}));
    EXPECT_EQ(alEsperar[1], (std::vector<unsigned> {1, 1, 0}));
    // The state in hand and the eight queued meanwhile do not drive; the
    // next fresh one does.
    EXPECT_EQ(Bytes(), (std::vector<unsigned> {1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}));
}

TEST_F(EstadosAtrasados, TrasPerderElEnlaceNoSeReenviaLaDecisionAnterior)
{
    EjecutarFases({[] { Encolar(2, 0.9f); },
                   [] { MotorPrueba().FijarResultado("EE_EngineGetNextEvent", EDK_CONEXION_REMOTA_PERDIDA); },
                   [] {
                       MotorPrueba().FijarResultado("EE_EngineGetNextEvent", EDK_SIN_ERRORES);
                       MotorPrueba().EncolarEvento(EE_ProfileEvent);
                       Encolar(1, 0.9f);
                   },
                   [] { Encolar(1, 0.9f); }});
    EXPECT_EQ(Bytes(), (std::vector<unsigned> {1, 1, 0, 0, 0, 1, 0}));
}

// A mode switch clicked while "Conectar" waits for the engine does nothing:
// the run stays in headset mode, can be ended with "Desconectar", and the
// window can be closed afterwards.
TEST_F(Seguridad, CambiarDeModoMientrasConectaNoHaceNada)
{
    Crear();
    ModoCasco(1);
    ActivarSalida();
    QToolButton* manual = Ui().ToolButtonManual;
    MotorPrueba().AlLlamar("EE_EngineRemoteConnect", [&] {
        // The operator clicks the manual-mode button while the connect blocks.
        const QPointF centro = QRectF(manual->rect()).center();
        QCoreApplication::postEvent(manual,
                                    new QMouseEvent(QEvent::MouseButtonPress, centro, manual->mapToGlobal(centro),
                                                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(manual,
                                    new QMouseEvent(QEvent::MouseButtonRelease, centro, manual->mapToGlobal(centro),
                                                    Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    });
    MotorPrueba().EncolarEstado(EstadoApretando(0.9f));
    int bombeos = 0;
    Ejecutar([&] {
        FVentana->ActionManualExecute(); // and a handler reached some other way
        EXPECT_FALSE(FVentana->ModoManual());
        EXPECT_FALSE(Ui().ActionManual->isEnabled());
        EXPECT_TRUE(Ui().ActionCasco->isChecked());
        if (MotorPrueba().EventosPendientes() != 0 || ++bombeos <= 3)
            return false;
        // The operator can end the run.
        EXPECT_FALSE(Ui().BitBtnDesconectar->isHidden());
        return true;
    });
    EXPECT_FALSE(FVentana->Conectado());
    EXPECT_FALSE(FVentana->ModoManual());
    EXPECT_TRUE(Ui().ActionManual->isEnabled());
    EXPECT_TRUE(FVentana->FormCloseQuery());
    EXPECT_EQ(FGrabacion.Valores().back(), 0u);
}

// The session ends (a signal) during a run with the about box open: the box
// goes, the run ends with its all-off byte and the window closes.
TEST_F(Seguridad, TerminarLaSesionCierraLosDialogosAcabaLaEjecucionYCierraLaVentana)
{
    Preparar();
    FVentana->show();
    EjecutarTras([&](int bombeo) {
        if (bombeo == 1) {
            QTimer::singleShot(0, FVentana.get(), [&] { FVentana->Terminar(); });
            Ui().ActionAcercaDe->trigger();
        }
        return false; // the run has to end by itself
    });
    QApplication::processEvents();
    EXPECT_FALSE(FVentana->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(BytesTrasGiro(), (std::vector<unsigned> {Avance | Derecha, 0}));
}

} // namespace

namespace {

// The emergency stop during a run: all off at once (the latched turn too),
// and a clench still held drives nothing until a state without one.
TEST_F(Seguridad, LaParadaDeEmergenciaApagaTodoHastaUnApretonNuevo)
{
    Preparar();
    EjecutarTras([&](int bombeo) {
        if (bombeo == 1) {
            QTest::keyClick(FVentana.get(), Qt::Key_Space);
            MotorPrueba().EncolarEstado(EstadoApretando(0.8f));
            MotorPrueba().EncolarEstado(EstadoApretando(0.8f));
        }
        if (bombeo == 3) {
            MotorPrueba().EncolarEstado(EstadoApretando(0));
            MotorPrueba().EncolarEstado(EstadoApretando(0.8f));
        }
        return bombeo > 4;
    });
    EXPECT_EQ(BytesTrasGiro(), (std::vector<unsigned> {Avance | Derecha, 0, 0, 0, 0, Avance, 0}));
    EXPECT_EQ(LineasQueEmpiezan(QStringLiteral("E Parada de emergencia")).size(), 1u);
}

} // namespace
