// Manual driving under a real X server with a window manager (openbox): the
// operator holds the up arrow with the real pointer, and the window is
// minimised, sent to another desktop or unmapped before the button is let
// go. The release never reaches the window; forward must still go off at
// once, and only a new press drives again. Runs on X only (FlechasConGestor
// in tests/modes/CMakeLists.txt starts it under xvfb-run).
#include "VentanaConduccion.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>

namespace {

bool Xdotool(const QStringList& argumentos)
{
    return QProcess::execute(QStringLiteral("xdotool"), argumentos) == 0;
}

class FlechasConGestor : public VentanaConduccion {
protected:
    static void SetUpTestSuite()
    {
        if (QGuiApplication::platformName() != QStringLiteral("xcb"))
            return;
        FGestor = new QProcess;
        FGestor->start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        FGestor->waitForStarted();
        // Ready once it publishes its desktops on the root window.
        EXPECT_TRUE(QTest::qWaitFor([] { return Xdotool({QStringLiteral("get_num_desktops")}); }, 10000))
            << "the window manager did not start";
    }
    static void TearDownTestSuite()
    {
        if (FGestor) {
            FGestor->terminate();
            FGestor->waitForFinished();
        }
        delete FGestor;
        FGestor = nullptr;
    }

    void SetUp() override
    {
        if (QGuiApplication::platformName() != QStringLiteral("xcb"))
            GTEST_SKIP() << "needs an X server";
        ASSERT_TRUE(FGestor && FGestor->state() == QProcess::Running) << "openbox did not start";
        VentanaConduccion::SetUp();
        // The window manager gives the new window the focus.
        FVentana.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&FVentana));
        PulsarActuador();
        OlvidarBytes();
    }

    QString Ventana() const { return QString::number(FVentana.winId()); }

    // The real pointer down on the up arrow.
    void PulsarArriba()
    {
        const QPoint punto = ui.ImageFlechasArribaAbajo->mapToGlobal(QPoint(17, 30));
        ASSERT_TRUE(Xdotool({QStringLiteral("mousemove"), QString::number(punto.x()), QString::number(punto.y()),
                             QStringLiteral("mousedown"), QStringLiteral("1")}));
        ASSERT_TRUE(QTest::qWaitFor([&] { return Bytes() == std::vector<unsigned> {0x01}; }, 5000));
    }

    void Recuperar()
    {
        Xdotool({QStringLiteral("set_desktop"), QStringLiteral("0")});
        Xdotool({QStringLiteral("windowmap"), Ventana()});
        Xdotool({QStringLiteral("windowactivate"), Ventana()});
        ASSERT_TRUE(QTest::qWaitFor([&] { return FVentana.isActiveWindow() && !FVentana.isMinimized(); }, 5000));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&FVentana));
    }

    static QProcess* FGestor;
};

QProcess* FlechasConGestor::FGestor = nullptr;

TEST_F(FlechasConGestor, LaVentanaQueDejaDeVerseApagaLaFlechaSostenida)
{
    const struct {
        const char* nombre;
        QStringList orden; // %1 is the window
    } casos[] = {
        {"minimizar", {QStringLiteral("windowminimize"), QStringLiteral("%1")}},
        {"otro escritorio", {QStringLiteral("set_desktop"), QStringLiteral("1")}},
        {"desmapear", {QStringLiteral("windowunmap"), QStringLiteral("%1")}},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        OlvidarBytes();
        PulsarArriba();
        QStringList orden = caso.orden;
        orden.replaceInStrings(QStringLiteral("%1"), Ventana());
        QElapsedTimer reloj;
        reloj.start();
        ASSERT_TRUE(Xdotool(orden));
        EXPECT_TRUE(QTest::qWaitFor([&] { return Bytes().size() >= 2; }, 2000));
        std::printf("%s: avance apagado en %lld ms\n", caso.nombre, static_cast<long long>(reloj.elapsed()));
        Xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
        Recuperar();
        // Back on screen, nothing held is resent; the arrows are dark.
        QTest::qWait(5 * TFMain::IntervaloGuardia);
        EXPECT_EQ(Bytes(), (std::vector<unsigned> {0x01, 0x00}));
        EXPECT_EQ(IndiceAvRet(), 0);
        // A new press and release drive again.
        OlvidarBytes();
        PulsarArriba();
        Xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
        EXPECT_TRUE(QTest::qWaitFor([&] { return Bytes() == std::vector<unsigned> {0x01, 0x00}; }, 2000));
    }
}

// The keys on the real X server: the up key drives while held and the window
// lost ends it as for the mouse; Space is the emergency stop.
TEST_F(FlechasConGestor, LasTeclasConducenYParanComoElRaton)
{
    ASSERT_TRUE(Xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), Ventana()}));
    ASSERT_TRUE(Xdotool({QStringLiteral("keydown"), QStringLiteral("Up")}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Bytes() == std::vector<unsigned> {0x01}; }, 5000));
    ASSERT_TRUE(Xdotool({QStringLiteral("windowminimize"), Ventana()}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Bytes().size() >= 2; }, 2000));
    Xdotool({QStringLiteral("keyup"), QStringLiteral("Up")});
    Recuperar();
    QTest::qWait(5 * TFMain::IntervaloGuardia);
    EXPECT_EQ(Bytes(), (std::vector<unsigned> {0x01, 0x00}));

    OlvidarBytes();
    PulsarArriba();
    ASSERT_TRUE(Xdotool({QStringLiteral("key"), QStringLiteral("space")}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Bytes().size() >= 2; }, 2000));
    Xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    QTest::qWait(5 * TFMain::IntervaloGuardia);
    EXPECT_EQ(Bytes(), (std::vector<unsigned> {0x01, 0x00, 0x00})) << "the release after the stop drives nothing";
}

} // namespace
