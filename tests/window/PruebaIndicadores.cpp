// The headset status indicators: value in, text, position and colours out,
// with the idle look while no run is connected.
#include "ColoresQt.h"
#include "Controles.h"
#include "EjecucionVentana.h"
#include "EjecutableTemporal.h"
#include "FormularioMain.h"
#include "Gauge.h"
#include "Imagen.h"
#include "Imagenes.h"
#include "Impresion.h"
#include "Main.h"
#include "MotorPrueba.h"
#include "Shape.h"

#include <QApplication>
#include <QHash>
#include <QProgressBar>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QColor C(TColor color)
{
    return AColorQt(color, QPalette());
}

class Indicadores : public ::testing::Test {
protected:
    void SetUp() override { MotorPrueba().Reiniciar(); }

    TEjecutableTemporal ejecutable;
    TFMain ventana {ejecutable.Dependencias()};
    const TFormularioMain ui {ventana};

    // Runs `hacer` while a run is connected to the test engine, or while the
    // window is not connected.
    void Con(bool conectado, const std::function<void()>& hacer)
    {
        if (conectado)
            MientrasConectado(ventana, hacer);
        else
            hacer();
    }
};

TEST_F(Indicadores, EstadoSetsTextAndColoursAndIgnoresUnknownStates)
{
    struct TCaso {
        unsigned estado;
        const char* texto;
        TColor fondo, fuente;
    };
    const TCaso casos[] = {
        {0, "Desconectado", clGray, clWhite},
        {1, "Sin Casco", clYellow, clBlack},
        {2, "Error", clRed, clWhite},
        {3, "Conectado", clGreen, clWhite},
        {4, "Señal Ruidosa", clYellow, clBlack},
        {5, "Sin Perfil", clPurple, clWhite},
        {6, "No Enlazado", clYellow, clBlack},
    };
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.estado);
        ventana.MostrarEstado(caso.estado);
        EXPECT_EQ(ui.LabelEstado->text(), QString::fromUtf8(caso.texto));
        EXPECT_EQ(ColorFondo(ui.LabelEstado), C(caso.fondo));
        EXPECT_EQ(ColorFuente(ui.LabelEstado), C(caso.fuente));
    }
    ventana.MostrarEstado(5);
    for (unsigned fuera : {7u, 8u, 1000u}) {
        ventana.MostrarEstado(fuera);
        EXPECT_EQ(ui.LabelEstado->text(), "Sin Perfil");
        EXPECT_EQ(ColorFondo(ui.LabelEstado), C(clPurple));
    }
}

TEST_F(Indicadores, SenalShowsLevelsWhileConnectedAndKeepsTheLastColour)
{
    struct TCaso {
        bool conectado;
        int senal;
        int posicion;
        TColor color;
    };
    // Applied in order: codes 0 and 1 keep whatever colour the bar had.
    const TCaso casos[] = {
        {true, 2, 1, clYellow}, {true, 1, 0, clYellow}, {true, 3, 2, clLime},    {true, 0, 0, clLime},
        {true, 2, 1, clYellow}, {true, 7, 0, clYellow}, {false, 3, 0, clYellow}, {false, 2, 0, clYellow},
    };
    for (const bool conectado : {true, false}) {
        Con(conectado, [&] {
            for (const TCaso& caso : casos) {
                if (caso.conectado != conectado)
                    continue;
                SCOPED_TRACE(testing::Message() << caso.conectado << " " << caso.senal);
                ventana.MostrarSenal(TNivelSenal(caso.senal));
                EXPECT_EQ(ui.ProgressBarSenal->value(), caso.posicion);
                EXPECT_EQ(ColorBarra(ui.ProgressBarSenal), C(caso.color));
            }
        });
    }
}

TEST_F(Indicadores, BateriaScalesToTheMaximumAndFallsBackToIdle)
{
    struct TCaso {
        bool conectado;
        int nivel, maximo;
        int maximoGauge, progreso;
        TColor relleno, fondo;
        const char* texto;
    };
    const TCaso casos[] = {
        // maximum 5: m 4, quarter 1, half 2
        {true, 0, 5, 4, 0, clRed, clWhite, "0%"},
        {true, 1, 5, 4, 1, clRed, clWhite, "25%"},
        {true, 2, 5, 4, 2, clYellow, clWhite, "50%"},
        {true, 3, 5, 4, 3, clGreen, clWhite, "75%"},
        {true, 4, 5, 4, 4, clGreen, clWhite, "100%"},
        {true, 5, 5, 4, 4, clGreen, clWhite, "100%"}, // above the range: full, green
        {true, 1, 2, 1, 1, clGreen, clWhite, "100%"},
        // idle looks: not connected, a negative level, no sensible maximum
        {true, -1, 5, 10, 0, clBlack, clBtnFace, "0%"},
        {false, 3, 5, 10, 0, clBlack, clBtnFace, "0%"},
        {false, 0, 1, 10, 0, clBlack, clBtnFace, "0%"},
        {true, 2, 0, 10, 0, clBlack, clBtnFace, "0%"},
        {true, 0, -3, 10, 0, clBlack, clBtnFace, "0%"},
    };
    for (const bool conectado : {true, false}) {
        Con(conectado, [&] {
            for (const TCaso& caso : casos) {
                if (caso.conectado != conectado)
                    continue;
                SCOPED_TRACE(testing::Message() << caso.conectado << " " << caso.nivel << "/" << caso.maximo);
                ventana.MostrarBateria(caso.nivel, caso.maximo);
                const TGauge* gauge = ui.CGaugeBateria;
                EXPECT_EQ(gauge->Minimo(), 0);
                EXPECT_EQ(gauge->Maximo(), caso.maximoGauge);
                EXPECT_EQ(gauge->Progreso(), caso.progreso);
                EXPECT_EQ(gauge->ColorRelleno(), C(caso.relleno));
                EXPECT_EQ(gauge->ColorFondo(), C(caso.fondo));
                EXPECT_EQ(gauge->Texto(), caso.texto);
            }
        });
    }
}

TEST_F(Indicadores, FuerzaAndGiroFillBlueOnYellowOnlyWhileConnected)
{
    struct TCaso {
        bool conectado;
        int valor;
        int progreso;
    };
    const TCaso casos[] = {{true, 7, 7}, {true, 0, 0}, {true, 10, 10}, {true, 12, 10}, {false, 7, 0}};
    for (const bool conectado : {true, false}) {
        Con(conectado, [&] {
            for (const TCaso& caso : casos) {
                if (caso.conectado != conectado)
                    continue;
                SCOPED_TRACE(testing::Message() << caso.conectado << " " << caso.valor);
                ventana.MostrarFuerza(std::uint16_t(caso.valor));
                ventana.MostrarGiro(std::int16_t(caso.valor));
                for (const TGauge* gauge : {ui.CGaugeFuerza, ui.CGaugeGiro}) {
                    EXPECT_EQ(gauge->Maximo(), 10);
                    EXPECT_EQ(gauge->Progreso(), caso.progreso);
                    EXPECT_EQ(gauge->ColorRelleno(), C(caso.conectado ? clBlue : clBlack));
                    EXPECT_EQ(gauge->ColorFondo(), C(caso.conectado ? clYellow : clBtnFace));
                }
            }
            if (conectado) {
                ventana.MostrarGiro(-4);
                EXPECT_EQ(ui.CGaugeGiro->Progreso(), 0);
            }
        });
    }
}

TEST_F(Indicadores, EntrenamientoRoundsUpTheSkillAndColoursTheBar)
{
    struct TCaso {
        float nivel;
        int posicion;
        TColor color;
        const char* hint;
    };
    const TCaso casos[] = {
        {0.0f, 0, clRed, "Entrenamiento: 0.0%"},
        {1.0f, 100, clGreen, "Entrenamiento: 100.0%"},
        {0.66f, 67, clGreen, "Entrenamiento: 66.0%"}, // the float lies just above 0.66
        {0.3f, 31, clRed, "Entrenamiento: 30.0%"},
        {0.32f, 32, clRed, "Entrenamiento: 32.0%"},
        {0.453f, 46, clYellow, "Entrenamiento: 45.3%"},
        {0.33f, 34, clYellow, "Entrenamiento: 33.0%"},
        {0.5f, 50, clYellow, "Entrenamiento: 50.0%"},
        // outside 0..1 the bar stays within its range
        {1.5f, 100, clGreen, "Entrenamiento: 150.0%"},
        {-0.2f, 0, clRed, "Entrenamiento: -20.0%"},
    };
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.nivel);
        ventana.MostrarEntrenamiento(QString(), caso.nivel);
        EXPECT_EQ(ui.ProgressBarEntrenamiento->value(), caso.posicion);
        EXPECT_EQ(ColorBarra(ui.ProgressBarEntrenamiento), C(caso.color));
        EXPECT_EQ(ui.ProgressBarEntrenamiento->toolTip(), caso.hint);
    }
}

TEST_F(Indicadores, EntrenamientoShowsTheFileNameWithThePathAsHint)
{
    const std::tuple<const char*, const char*> casos[] = {
        {"/home/ana/perfiles/Ana Pérez.emu", "Ana Pérez.emu"},
        {"solo.emu", "solo.emu"},
        {"/raiz/", ""},
        {"", ""},
    };
    for (const auto& [ruta, nombre] : casos) {
        SCOPED_TRACE(ruta);
        ventana.MostrarEntrenamiento(QString::fromUtf8(ruta), 0.5f);
        EXPECT_EQ(ui.LabelFicheroPerfil->text(), QString::fromUtf8(nombre));
        EXPECT_EQ(ui.LabelFicheroPerfil->toolTip(), QString::fromUtf8(ruta));
    }
}

TEST_F(Indicadores, SensoresColourByContactAndPickTheHead)
{
    const QList<TShape*> marcas = ventana.findChildren<TShape*>(QRegularExpression("^ShapeElectodo"));
    ASSERT_EQ(marcas.size(), 16);
    auto marca
        = [&](int i) { return ventana.findChild<TShape*>(QString("ShapeElectodo%1").arg(i + 1, 2, 10, QChar('0'))); };
    auto todas = [&](TColor color) {
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(marca(i)->ColorRelleno(), C(color)) << i;
    };

    EXPECT_EQ(ventana.IndiceCasco(), 0);
    ventana.MostrarSensores();
    todas(clGray);
    EXPECT_EQ(ventana.IndiceCasco(), 0);

    const std::array<int, 16> valores = {0, 1, 2, 3, 4, 4, 3, 2, 1, 0, 4, 4, -1, 5, 99, 2};
    MientrasConectado(ventana, [&] {
        ventana.MostrarSensores();
        todas(clBlack);
        EXPECT_EQ(ventana.IndiceCasco(), 2);
        EXPECT_EQ(ui.ImageCasco->pixmap().toImage(), ImagenCasco(2).toImage());

        const TColor esperados[16] = {clBlack, clRed,   clNaranja, clYellow, clLime,  clLime,  clYellow, clNaranja,
                                      clRed,   clBlack, clLime,    clLime,   clBlack, clBlack, clBlack,  clNaranja};
        ventana.MostrarSensores(&valores);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(marca(i)->ColorRelleno(), C(esperados[i])) << i;
        EXPECT_EQ(ventana.IndiceCasco(), 1);
        EXPECT_EQ(ui.ImageCasco->pixmap().toImage(), ImagenCasco(1).toImage());
    });

    // Values given while not connected still show the idle look.
    ventana.MostrarSensores(&valores);
    todas(clGray);
    EXPECT_EQ(ventana.IndiceCasco(), 0);
    EXPECT_EQ(ui.ImageCasco->pixmap().toImage(), ImagenCasco(0).toImage());
}

// Counts the paints of each marker and of the head picture.
class ContadorPintados : public QObject {
public:
    QHash<QObject*, int> Pintados;
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (evento->type() == QEvent::Paint)
            ++Pintados[objeto];
        return false;
    }
    int Total() const
    {
        int total = 0;
        for (int n : Pintados)
            total += n;
        return total;
    }
};

TEST_F(Indicadores, RepeatedSensoresTouchNothing)
{
    ventana.show();
    ContadorPintados contador;
    ui.ImageCasco->installEventFilter(&contador);
    for (TShape* marca : ventana.findChildren<TShape*>(QRegularExpression("^ShapeElectodo")))
        marca->installEventFilter(&contador);

    MientrasConectado(ventana, [&] {
        const std::array<int, 16> valores = {4, 4, 3, 3, 2, 2, 1, 1, 0, 0, 4, 4, 3, 3, 2, 2};
        for (const std::array<int, 16>* entrada : {&valores, static_cast<const std::array<int, 16>*>(nullptr)}) {
            ventana.MostrarSensores(entrada);
            QApplication::processEvents();
            contador.Pintados.clear();
            ventana.MostrarSensores(entrada);
            QApplication::processEvents();
            EXPECT_EQ(contador.Total(), 0);
        }

        // One changed contact repaints that marker (and what lies under it) alone.
        std::array<int, 16> otro = valores;
        otro[5] = 4;
        ventana.MostrarSensores(&valores);
        QApplication::processEvents();
        contador.Pintados.clear();
        ventana.MostrarSensores(&otro);
        QApplication::processEvents();
        for (TShape* marca : ventana.findChildren<TShape*>(QRegularExpression("^ShapeElectodo")))
            EXPECT_EQ(contador.Pintados.value(marca), marca == ui.ShapeElectodo06 ? 1 : 0)
                << marca->objectName().toStdString();
    });
}

// The look of what the headset feeds: head map, battery, signal and the two
// gauges, readable in a failure message.
QString AspectoCasco(const TFMain& ventana)
{
    const TFormularioMain ui(ventana);
    const auto color = [](const QColor& c) { return c.name(); };
    QString aspecto = QStringLiteral("cabeza %1; marcas").arg(ventana.IndiceCasco());
    for (const TShape* marca : ventana.findChildren<TShape*>(QRegularExpression("^ShapeElectodo")))
        aspecto += QLatin1Char(' ') + color(marca->ColorRelleno());
    aspecto += QStringLiteral("; señal %1").arg(ui.ProgressBarSenal->value());
    for (const TGauge* gauge : {ui.CGaugeBateria, ui.CGaugeFuerza, ui.CGaugeGiro})
        aspecto += QStringLiteral("; %1 %2/%3 %4 sobre %5")
                       .arg(gauge->objectName())
                       .arg(gauge->Progreso())
                       .arg(gauge->Maximo())
                       .arg(color(gauge->ColorRelleno()), color(gauge->ColorFondo()));
    return aspecto;
}

// Once the link to the engine is lost nothing the headset reported holds:
// beside "Error", what it fed looks as in a window never connected, until
// the link brings a headset state again.
TEST_F(Indicadores, EnlacePerdidoMuestraLoDelCascoComoDesconocido)
{
    const QString desconectado = AspectoCasco(ventana);
    TEstadoPrueba bueno;
    bueno.Senal = 2;
    bueno.Bateria = 4;
    bueno.BateriaMax = 5;
    bueno.Contactos.fill(4);
    bueno.AccionExpresiva = ACC_EXP_APRETAR_DIENTES;
    bueno.PotenciaExpresiva = 0.8f;
    MotorPrueba().EncolarEstado(bueno);

    ui.ActionCasco->trigger();
    ui.RadioGroupMotor->FijarIndiceElemento(TFMain::ItemEmoComposer);
    ventana.RadioGroupMotorClick();
    QString sano, perdido, recuperado, estadoPerdido;
    int bombeos = 0;
    EjecutarConexion(ventana, [&] {
        if (MotorPrueba().EventosPendientes() > 0)
            return false;
        switch (++bombeos) {
        case 3:
            sano = AspectoCasco(ventana);
            MotorPrueba().FijarResultado("EE_EngineGetNextEvent", EDK_CONEXION_REMOTA_PERDIDA);
            break;
        case 6:
            perdido = AspectoCasco(ventana);
            estadoPerdido = ui.LabelEstado->text();
            MotorPrueba().FijarResultado("EE_EngineGetNextEvent", EDK_SIN_ERRORES);
            MotorPrueba().EncolarEstado(bueno);
            break;
        case 9:
            recuperado = AspectoCasco(ventana);
            break;
        default:
            break;
        }
        return bombeos >= 9;
    });
    ASSERT_NE(sano, desconectado) << "the headset state was never shown";
    EXPECT_EQ(estadoPerdido, QStringLiteral("Error"));
    EXPECT_EQ(perdido, desconectado);
    EXPECT_EQ(recuperado, sano);
}

TEST_F(Indicadores, TiempoIsWrittenWithThreeDecimals)
{
    const std::pair<float, const char*> casos[] = {
        {0.0f, "0.000"}, {1234.5678f, "1234.568"}, {0.0004f, "0.000"}, {2.5f, "2.500"}, {59.9996f, "60.000"},
    };
    for (const auto& [segundos, texto] : casos) {
        ventana.MostrarTiempo(segundos);
        EXPECT_EQ(ui.LabelTiempoConexion->text(), texto) << segundos;
    }
}

} // namespace
