// Manual driving: real mouse presses and releases on the two arrow images
// produce the bytes on the recording port library and the pictures that
// show the command; the pictures are drawn only when they change.
#include "FormularioMain.h"
#include "VentanaConduccion.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <functional>
#include <vector>

namespace {

enum TFlechas { AA, ID }; // the up/down image, the left/right image

struct TPaso {
    bool pulsar; // press, else release
    TFlechas imagen;
    int x, y;
    Qt::MouseButton boton = Qt::LeftButton;
    Qt::KeyboardModifiers teclas = {};
};

TPaso Pulsar(TFlechas imagen, int x, int y, Qt::MouseButton boton = Qt::LeftButton, Qt::KeyboardModifiers teclas = {})
{
    return {true, imagen, x, y, boton, teclas};
}
TPaso Soltar(TFlechas imagen, int x, int y, Qt::MouseButton boton = Qt::LeftButton)
{
    return {false, imagen, x, y, boton};
}
// A press and its release at one point.
std::vector<TPaso> Clic(TFlechas imagen, int x, int y)
{
    return {Pulsar(imagen, x, y), Soltar(imagen, x, y)};
}
std::vector<TPaso> operator+(std::vector<TPaso> a, const std::vector<TPaso>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<TPaso> Arriba = Clic(AA, 17, 30);
const std::vector<TPaso> Abajo = Clic(AA, 17, 120);
const std::vector<TPaso> Izquierda = Clic(ID, 30, 17);
const std::vector<TPaso> Derecha = Clic(ID, 120, 17);

struct TCasoFlechas {
    const char* nombre;
    std::vector<TPaso> pasos;
    std::vector<unsigned> bytes;
    int indiceAvRet, indiceGiro; // pictures shown at the end
    TGiro giroManual;
};

void PrintTo(const TCasoFlechas& caso, std::ostream* salida)
{
    *salida << caso.nombre;
}

class Flechas : public VentanaConduccion {
protected:
    void Ejecutar(const std::vector<TPaso>& pasos)
    {
        for (const TPaso& paso : pasos) {
            TImagen* imagen = paso.imagen == AA ? ui.ImageFlechasArribaAbajo : ui.ImageFlechasIzquierdaDerecha;
            if (paso.pulsar)
                QTest::mousePress(imagen, paso.boton, paso.teclas, QPoint(paso.x, paso.y));
            else
                QTest::mouseRelease(imagen, paso.boton, paso.teclas, QPoint(paso.x, paso.y));
        }
    }
};

class FlechasConSalida : public Flechas, public testing::WithParamInterface<TCasoFlechas> { };

TEST_P(FlechasConSalida, EnvianSuOrdenAlPuertoYLaMuestran)
{
    const TCasoFlechas& caso = GetParam();
    PulsarActuador();
    ASSERT_EQ(Bytes(), std::vector<unsigned> {0x00});
    OlvidarBytes();

    Ejecutar(caso.pasos);

    EXPECT_EQ(Bytes(), caso.bytes);
    EXPECT_EQ(IndiceAvRet(), caso.indiceAvRet);
    EXPECT_EQ(IndiceGiro(), caso.indiceGiro);
    EXPECT_EQ(FVentana.GiroManual(), caso.giroManual);
}

INSTANTIATE_TEST_SUITE_P(
    Tabla, FlechasConSalida,
    testing::Values(
        TCasoFlechas {"arriba mientras se sostiene", {Pulsar(AA, 17, 30)}, {0x01}, 5, 0, giroNinguno},
        TCasoFlechas {"arriba y soltar", Arriba, {0x01, 0x00}, 0, 0, giroNinguno},
        TCasoFlechas {"abajo mientras se sostiene", {Pulsar(AA, 17, 120)}, {0x02}, 6, 0, giroNinguno},
        TCasoFlechas {"abajo y soltar", Abajo, {0x02, 0x00}, 0, 0, giroNinguno},
        TCasoFlechas {"izquierda se queda", Izquierda, {0x04}, 0, 3, giroIzquierda},
        TCasoFlechas {"izquierda otra vez la apaga", Izquierda + Izquierda, {0x04, 0x00}, 0, 0, giroNinguno},
        TCasoFlechas {"derecha con la izquierda puesta", Izquierda + Derecha, {0x04, 0x08}, 0, 4, giroDerecha},
        TCasoFlechas {
            "fuera de las flechas del giro lo apaga", Izquierda + Clic(ID, 80, 17), {0x04, 0x00}, 0, 0, giroNinguno},
        TCasoFlechas {"arriba sostenido con la izquierda",
                      Izquierda + std::vector<TPaso> {Pulsar(AA, 17, 30)},
                      {0x04, 0x05},
                      5,
                      3,
                      giroIzquierda},
        TCasoFlechas {"arriba con la izquierda y soltar", Izquierda + Arriba, {0x04, 0x05, 0x04}, 0, 3, giroIzquierda},
        TCasoFlechas {"abajo con la derecha y soltar", Derecha + Abajo, {0x08, 0x0A, 0x08}, 0, 4, giroDerecha},
        TCasoFlechas {
            "entre las flechas: nada al pulsar, el giro al soltar", {Pulsar(AA, 17, 80)}, {}, 0, 0, giroNinguno},
        TCasoFlechas {"entre las flechas sin giro", Clic(AA, 17, 80), {0x00}, 0, 0, giroNinguno},
        TCasoFlechas {
            "entre las flechas con la izquierda", Izquierda + Clic(AA, 17, 80), {0x04, 0x04}, 0, 3, giroIzquierda},
        TCasoFlechas {"esquinas de la flecha de arriba",
                      Clic(AA, 6, 10) + Clic(AA, 28, 60),
                      {0x01, 0x00, 0x01, 0x00},
                      0,
                      0,
                      giroNinguno},
        TCasoFlechas {"justo fuera de la flecha de arriba",
                      Clic(AA, 5, 10) + Clic(AA, 6, 9) + Clic(AA, 29, 30) + Clic(AA, 17, 61),
                      {0, 0, 0, 0},
                      0,
                      0,
                      giroNinguno},
        TCasoFlechas {"esquinas de la flecha de abajo",
                      Clic(AA, 6, 100) + Clic(AA, 28, 150),
                      {0x02, 0x00, 0x02, 0x00},
                      0,
                      0,
                      giroNinguno},
        TCasoFlechas {"justo fuera de la flecha de abajo",
                      Clic(AA, 17, 99) + Clic(AA, 17, 151) + Clic(AA, 5, 120),
                      {0, 0, 0},
                      0,
                      0,
                      giroNinguno},
        TCasoFlechas {"esquinas de las flechas del giro",
                      Clic(ID, 10, 6) + Clic(ID, 60, 28) + Clic(ID, 100, 6) + Clic(ID, 150, 28),
                      {0x04, 0x00, 0x08, 0x00},
                      0,
                      0,
                      giroNinguno},
        TCasoFlechas {"justo fuera de las flechas del giro",
                      Clic(ID, 9, 17) + Clic(ID, 61, 17) + Clic(ID, 99, 17) + Clic(ID, 151, 17) + Clic(ID, 30, 5)
                          + Clic(ID, 30, 29),
                      {0, 0, 0, 0, 0, 0},
                      0,
                      0,
                      giroNinguno},
        TCasoFlechas {"botón y teclas no cuentan",
                      {Pulsar(ID, 30, 17, Qt::RightButton, Qt::ShiftModifier), Soltar(ID, 30, 17, Qt::RightButton),
                       Pulsar(AA, 17, 30, Qt::MiddleButton, Qt::ControlModifier), Soltar(AA, 17, 30, Qt::MiddleButton)},
                      {0x04, 0x05, 0x04},
                      0,
                      3,
                      giroIzquierda}));

TEST_F(Flechas, ConLaSalidaApagadaCambianLasImagenesYElGiroPeroNoSeEscribeNada)
{
    Ejecutar(Izquierda + std::vector<TPaso> {Pulsar(AA, 17, 120)});
    EXPECT_EQ(IndiceAvRet(), 6);
    EXPECT_EQ(IndiceGiro(), 3);
    EXPECT_EQ(FVentana.GiroManual(), giroIzquierda);
    Ejecutar({Soltar(AA, 17, 120)});
    EXPECT_EQ(IndiceAvRet(), 0);
    EXPECT_EQ(Bytes(), std::vector<unsigned> {});
}

// Leaving manual mode stops the vehicle once and forgets the manual turn; in
// headset mode the arrow images command nothing, and back in manual mode a
// press sends no turn that the arrows no longer show.
TEST_F(Flechas, EnModoCascoLasFlechasNoActuanYElGiroManualSeOlvida)
{
    PulsarActuador();
    Ejecutar(Izquierda);
    OlvidarBytes();

    ui.ActionCasco->trigger();
    EXPECT_EQ(IndiceGiro(), 0);
    EXPECT_EQ(Bytes(), std::vector<unsigned> {0x00}) << "the latched turn must not outlive manual mode";
    Ejecutar({Pulsar(AA, 17, 30), Soltar(AA, 17, 30), Pulsar(ID, 120, 17), Pulsar(ID, 30, 17)});
    ui.ActionCasco->trigger();
    EXPECT_EQ(Bytes(), std::vector<unsigned> {0x00}) << "presses, releases and staying in headset mode write nothing";
    EXPECT_EQ(IndiceAvRet(), 0);
    EXPECT_EQ(IndiceGiro(), 0);
    EXPECT_EQ(FVentana.GiroManual(), giroNinguno);

    ui.ActionManual->trigger();
    EXPECT_EQ(IndiceGiro(), 0);
    Ejecutar(Arriba);
    EXPECT_EQ(Bytes(), (std::vector<unsigned> {0x00, 0x01, 0x00}));
    EXPECT_EQ(IndiceGiro(), 0);
}

// A held arrow is current only while the window can see its release: the
// window hidden, minimised or deactivated, or a dialog over it, turns
// everything off at once (the turn too); a new press drives again.
TEST_F(Flechas, PerderLaVentanaConUnaFlechaPulsadaLoApagaTodo)
{
    struct TCaso {
        const char* nombre;
        std::function<void(TFMain&, QWidget& otra)> perder;
    } casos[] = {
        {"oculta", [](TFMain& v, QWidget&) { v.hide(); }},
        {"minimizada", [](TFMain& v, QWidget&) { v.showMinimized(); }},
        {"otra ventana activa",
         [](TFMain&, QWidget& otra) {
             otra.show();
             otra.activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(&otra));
         }},
        {"un dialogo modal encima",
         [](TFMain& v, QWidget& otra) {
             otra.setParent(&v, Qt::Dialog);
             otra.setWindowModality(Qt::ApplicationModal);
             otra.show();
             otra.activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(&otra));
         }},
    };
    PulsarActuador();
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        FVentana.showNormal();
        FVentana.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&FVentana));
        ASSERT_TRUE(QTest::qWaitForWindowActive(&FVentana));
        Ejecutar(Izquierda);
        OlvidarBytes();
        Ejecutar({Pulsar(AA, 17, 30)});
        {
            QWidget otra;
            caso.perder(FVentana, otra);
            // At once from the window's own events, else at the watchdog's
            // next tick.
            EXPECT_TRUE(QTest::qWaitFor([&] { return Bytes().size() > 1; }, 5 * TFMain::IntervaloGuardia));
            EXPECT_EQ(Bytes(), (std::vector<unsigned> {0x05, 0x00}));
            EXPECT_EQ(FVentana.GiroManual(), giroNinguno);
            // The release that the window never saw changes nothing.
            Ejecutar({Soltar(AA, 17, 30)});
            EXPECT_EQ(Bytes(), (std::vector<unsigned> {0x05, 0x00, 0x00}));
        }
        FVentana.showNormal();
        FVentana.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&FVentana));
        ASSERT_TRUE(QTest::qWaitForWindowActive(&FVentana));
        EXPECT_EQ(IndiceAvRet(), 0);
        EXPECT_EQ(IndiceGiro(), 0);
        OlvidarBytes();
        Ejecutar(Arriba);
        EXPECT_EQ(Bytes(), (std::vector<unsigned> {0x01, 0x00})) << "a new press drives again";
    }
}

// The keyboard in manual mode: the arrow keys drive as the arrow images do,
// and Space, Esc or the keypad's 0 stop everything, also a command held
// with the mouse, until the operator drives again.
TEST_F(Flechas, LasTeclasConducenYLaParadaDeEmergenciaLoApagaTodo)
{
    PulsarActuador();
    OlvidarBytes();
    QWidget* foco = ui.ToolButtonActuador; // whichever control has the focus
    QTest::keyPress(foco, Qt::Key_Up);
    QKeyEvent repeticion(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(foco, &repeticion); // a repeat of a held key changes nothing
    EXPECT_EQ(IndiceAvRet(), 5);
    QTest::keyRelease(foco, Qt::Key_Up);
    QTest::keyClick(foco, Qt::Key_Left);
    QTest::keyClick(foco, Qt::Key_Right);
    QTest::keyPress(foco, Qt::Key_Down);
    EXPECT_EQ(Bytes(), (std::vector<unsigned> {0x01, 0x00, 0x04, 0x08, 0x0A}));
    EXPECT_EQ(IndiceGiro(), 4);

    const struct {
        const char* nombre;
        Qt::Key tecla;
        Qt::KeyboardModifiers modificadores;
    } paradas[] = {
        {"espacio", Qt::Key_Space, Qt::NoModifier},
        {"escape", Qt::Key_Escape, Qt::NoModifier},
        {"cero del teclado numerico", Qt::Key_0, Qt::KeypadModifier},
    };
    for (const auto& parada : paradas) {
        SCOPED_TRACE(parada.nombre);
        FVentana.ActionLimpiarExecute();
        Ejecutar({Pulsar(AA, 17, 30)});
        OlvidarBytes();
        QTest::keyClick(foco, parada.tecla, parada.modificadores);
        EXPECT_EQ(Bytes(), std::vector<unsigned> {0x00});
        EXPECT_EQ(IndiceAvRet(), 0);
        EXPECT_EQ(IndiceGiro(), 0);
        EXPECT_EQ(FVentana.GiroManual(), giroNinguno);
        EXPECT_EQ(Lineas(),
                  QStringList {QStringLiteral("Parada de emergencia: vehículo detenido hasta que vuelva a conducir")});
        // The button still held drives nothing; a new press does.
        Ejecutar({Soltar(AA, 17, 30)});
        OlvidarBytes();
        Ejecutar(Arriba);
        EXPECT_EQ(Bytes(), (std::vector<unsigned> {0x01, 0x00}));
    }
    // A digit that is not the keypad's is no stop.
    OlvidarBytes();
    QTest::keyPress(foco, Qt::Key_Up);
    QTest::keyClick(foco, Qt::Key_0);
    EXPECT_EQ(Bytes(), std::vector<unsigned> {0x01});
}

// With output on, the last command does not stay on the port when manual
// mode is left or the window goes; with output off nothing is written.
TEST_F(Flechas, SalirDelModoManualOCerrarEscribeLaParadaSoloConSalida)
{
    struct TCaso {
        const char* nombre;
        bool salida;
        void (*salir)(TFMain&);
        std::vector<unsigned> bytes;
    };
    const TCaso casos[] = {
        {"modo casco, con salida",
         true,
         [](TFMain& v) { TFormularioMain(v).ActionCasco->trigger(); },
         {0x00, 0x08, 0x00}},
        {"cerrar, con salida", true, [](TFMain& v) { v.FormDestroy(); }, {0x00, 0x08, 0x00}},
        {"modo casco, sin salida", false, [](TFMain& v) { TFormularioMain(v).ActionCasco->trigger(); }, {}},
        {"cerrar, sin salida", false, [](TFMain& v) { v.FormDestroy(); }, {}},
    };
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        TEjecutableTemporal ejecutable;
        TFMain ventana {ejecutable.Dependencias()};
        ventana.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&ventana));
        TGrabacion grabacion;
        if (caso.salida)
            TFormularioMain(ventana).ActionActuador->trigger();
        QTest::mouseClick(TFormularioMain(ventana).ImageFlechasIzquierdaDerecha, Qt::LeftButton, {}, QPoint(120, 17));
        caso.salir(ventana);
        EXPECT_EQ(grabacion.Valores(), caso.bytes);
    }
}

// Counts the paints of a whole control. The two images cross each other, so
// drawing one also repaints the crossing part of the other: not counted.
class TContadorPintado : public QObject {
public:
    int Pintados = 0;
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (evento->type() == QEvent::Paint
            && static_cast<QPaintEvent*>(evento)->rect() == static_cast<QWidget*>(objeto)->rect())
            ++Pintados;
        return QObject::eventFilter(objeto, evento);
    }
};

TEST_F(Flechas, MostrarFlechasEligeElIndiceYRepintaSoloLoQueCambia)
{
    struct TCaso {
        TDireccion direccion;
        TGiro giro;
        bool avRetActivo, giroActivo;
        int avRet, giroIndice;
    };
    const TCaso casos[] = {
        {dirNeutral, giroNinguno, false, false, 1, 0},   {dirAvance, giroIzquierda, false, false, 2, 1},
        {dirRetroceso, giroDerecha, false, false, 3, 2}, {dirNeutral, giroDerecha, true, false, 4, 2},
        {dirAvance, giroIzquierda, true, true, 5, 3},    {dirRetroceso, giroDerecha, true, true, 6, 4},
        {dirAvance, giroDerecha, false, true, 2, 4},     {dirNinguna, giroNinguno, true, true, 0, 0},
    };
    TContadorPintado pintadoAvRet, pintadoGiro;
    ui.ImageFlechasArribaAbajo->installEventFilter(&pintadoAvRet);
    ui.ImageFlechasIzquierdaDerecha->installEventFilter(&pintadoGiro);
    QApplication::processEvents();

    int avRetAntes = 0, giroAntes = 0;
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(testing::Message() << int(caso.direccion) << ' ' << int(caso.giro) << ' ' << caso.avRetActivo
                                        << caso.giroActivo);
        for (int vez = 0; vez < 2; ++vez) {
            pintadoAvRet.Pintados = pintadoGiro.Pintados = 0;
            FVentana.MostrarFlechas(caso.direccion, caso.giro, caso.avRetActivo, caso.giroActivo);
            // Drawn with the window's next pump, and only when the index changed.
            QApplication::processEvents();
            EXPECT_EQ(pintadoAvRet.Pintados, vez == 0 && caso.avRet != avRetAntes ? 1 : 0) << "vez " << vez;
            EXPECT_EQ(pintadoGiro.Pintados, vez == 0 && caso.giroIndice != giroAntes ? 1 : 0) << "vez " << vez;
            EXPECT_EQ(IndiceAvRet(), caso.avRet);
            EXPECT_EQ(IndiceGiro(), caso.giroIndice);
        }
        avRetAntes = caso.avRet;
        giroAntes = caso.giroIndice;
    }
    EXPECT_EQ(Bytes(), std::vector<unsigned> {});
}

} // namespace
