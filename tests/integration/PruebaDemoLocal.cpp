// The local engine plays its built-in demo to the whole window on a clock
// that the test moves one EmoState at a time: two minutes of demo take a few
// seconds, and every command sent to the vehicle follows from the demo's
// timeline at the default thresholds.
#include "EjecucionReal.h"
#include "Motor.h"

#include <QSlider>

namespace {

using Reloj = std::chrono::steady_clock;

// The engine plays 32 EmoStates a second.
constexpr Reloj::duration UnEstado = std::chrono::nanoseconds(1'000'000'000 / 32);

class DemoLocal : public EjecucionReal {
protected:
    static inline Reloj::time_point Ahora {};
    static inline Reloj::time_point Inicio {};
    static inline long Miradas = 0;

    void SetUp() override
    {
        EjecucionReal::SetUp();
        Inicio = Ahora = Reloj::time_point {} + std::chrono::hours(1);
        // The engine looks at its clock only when its queue is empty: every
        // second look makes the next EmoState due, so that the loop also
        // finds the queue empty between two EmoStates, as with a headset.
        Miradas = 0;
        edk::MotorGlobal().FijarReloj([] {
            if (++Miradas % 2 == 0)
                Ahora += UnEstado;
            return Ahora;
        });
    }

    void TearDown() override
    {
        EjecucionReal::TearDown();
        edk::MotorGlobal().FijarReloj({});
    }

    // Demo seconds played so far.
    static double Segundos() { return std::chrono::duration<double>(Ahora - Inicio).count(); }

    // The window's silence watchdog runs on the demo's time too; a gyro
    // re-zero's waits are not slept.
    static TFMain::TDependencias RelojDeLaDemo()
    {
        TFMain::TDependencias dependencias;
        dependencias.Reloj
            = [] { return std::chrono::duration_cast<std::chrono::milliseconds>(Ahora.time_since_epoch()).count(); };
        dependencias.Espera = [](int) {};
        return dependencias;
    }
};

TEST_F(DemoLocal, ConduceComoDiceElGuionDeLaDemostracion)
{
    Preparar(ItemEmoEngine, QStringLiteral(GEDANKO_RECURSOS "/perfiles/demo.emu"), RelojDeLaDemo());
    // Start-up stops the port and switches output off, then output goes on:
    // three all-off bytes before any run.
    EXPECT_EQ(FGrabacion.Valores(), (std::vector<unsigned> {0, 0, 0}));
    const std::size_t previos = FGrabacion.Valores().size();

    // The operator loads the profile when the window first says it lacks
    // one, re-zeroes the gyro once it has settled and again while it is
    // uncalibrated, and stops halfway through the demo's drive, going forward
    // with a left turn latched.
    bool sinPerfil = false;
    std::vector<double> centrados = {9.0, 87.0};
    QString perfilMostrado;
    Ejecutar(
        [&] {
            if (!sinPerfil && TextoEstado() == QStringLiteral("Sin Perfil")) {
                sinPerfil = true;
                Ui().ActionCargaPerfil->trigger();
            }
            if (!centrados.empty() && Segundos() >= centrados.front()) {
                centrados.erase(centrados.begin());
                Ui().ActionCentrarCasco->trigger();
            }
            perfilMostrado = Ui().LabelFicheroPerfil->text();
            return Segundos() >= 120.0;
        },
        std::chrono::seconds(120));
    ASSERT_TRUE(sinPerfil);
    EXPECT_TRUE(centrados.empty());

    const std::vector<unsigned> todos = FGrabacion.Valores();
    const std::vector<unsigned> bytes(todos.begin() + std::ptrdiff_t(previos), todos.end());
    // Bit 0 forward, bit 1 backward, bit 2 left, bit 3 right; the demo's
    // second of each change in the comments.
    const std::vector<unsigned> guion = {
        0x00, // headset on at 0.5, profile loaded, contacts settle by 8; a weak clench at 10 does not drive
        0x01, 0x00, // medium clench 13..15
        0x01, 0x00, // strong clench 17..19.5; smile and blink drive nothing; weak pull at 25 neither
        0x02, 0x00, // medium pull 29..31
        0x02, 0x00, // strong pull 33..35.5
        0x01, // clench at 37
        0x00, 0x02, // a pull at 38 wins from its first reading, still below the threshold
        0x00, 0x01, // the pull fades at 40, the clench drives again at 40.3
        0x00, // clench off at 41; a push at 42 is only neutral
        0x08, // right turn latched at 47; the left turn at 51 changes nothing
        0x00, // right turn again at 55 releases it
        0x04, 0x00, // left turn latched at 59 and released at 63; bad signal, loose electrode, gyro uncalibrated
        0x01, // the drive: forward at 100
        0x09, // right turn latched on the way at 103
        0x08, // clench off at 106
        0x0A, 0x08, // pull 108..111 with the turn still latched
        0x00, // right turn again at 113 releases it
        0x01, // forward at 116
        0x05, // left turn latched at 118
        0x00, // "Desconectar" at 120: the end of the run's all-off
    };
    EXPECT_EQ(Tramos(bytes), guion);
    // The last all-off comes from the end of the run, not from an event.
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[bytes.size() - 2], 0x05u);
    EXPECT_EQ(bytes.back(), 0x00u);

    std::vector<QString> esperado = RegistroConexionDemo();
    esperado.insert(esperado.end(),
                    {
                        QStringLiteral("E 1792:Giróscopo no calibrado"), // the re-zero at 87; the one at 9 succeeds
                        QStringLiteral("S EE_ProfileEvent"), // the demo's profile event at 92
                        QStringLiteral("I Desconectado"),
                    });
    EXPECT_EQ(Registro(), esperado);
    // The profile's sensitivities reached the bars.
    EXPECT_EQ(Ui().TrackBarAvance->value(), 500);
    EXPECT_EQ(Ui().TrackBarRetroceso->value(), 5);
    EXPECT_EQ(perfilMostrado, QStringLiteral("demo.emu"));
}

} // namespace
