// The window against libedk.so as the program ships it, in real time: the
// local engine with the demo profile, and a real gedanko-emulador process on
// a loopback port playing a short scenario of its own, killed halfway.
#include "EjecucionReal.h"
#include "ProcesoEmulador.h"

#include <QFile>
#include <QLineEdit>
#include <QTest>

namespace {

class MotorReal : public EjecucionReal {
protected:
    // Types into an edit and leaves it, as the operator does.
    void Teclear(QLineEdit* edit, const QString& texto)
    {
        edit->clear();
        QTest::keyClicks(edit, texto);
        if (edit == Ui().EditPuerto)
            FVentana->EditPuertoExit();
        else
            FVentana->EditIp1Exit(edit);
    }
};

// The local engine starts its demo with the headset going on at half a
// second and a weak signal: without a profile it shows "Sin Perfil"; the
// demo profile loads through the profile button and the next EmoState
// passes that gate and stops at the signal. The profile loads from its own
// path and from a copy whose name Windows-1252 cannot hold.
TEST_F(MotorReal, ElMotorLocalEsperaUnPerfilYCargaElDeDemostracion)
{
    const QString demo = QStringLiteral(GEDANKO_RECURSOS "/perfiles/demo.emu");
    const QString copia = FCarpeta.filePath(QStringLiteral("łódź.emu"));
    ASSERT_TRUE(QFile::copy(demo, copia));
    for (const QString& perfil : {demo, copia}) {
        SCOPED_TRACE(perfil.toStdString());
        Preparar(ItemEmoEngine, perfil);
        const std::size_t previos = FGrabacion.Valores().size();
        std::vector<QString> estados;
        bool pedido = false;
        Ejecutar(
            [&] {
                if (estados.empty() || estados.back() != TextoEstado())
                    estados.push_back(TextoEstado());
                if (!pedido && TextoEstado() == QStringLiteral("Sin Perfil")) {
                    pedido = true;
                    Ui().ActionCargaPerfil->trigger();
                }
                return TextoEstado() == QStringLiteral("No Enlazado");
            },
            std::chrono::seconds(10));

        EXPECT_EQ(estados, (std::vector<QString> {QStringLiteral("Desconectado"), QStringLiteral("Conectado"),
                                                  QStringLiteral("Sin Perfil"), QStringLiteral("No Enlazado")}));
        std::vector<QString> esperado = RegistroConexionDemo();
        esperado.push_back(QStringLiteral("I Desconectado"));
        EXPECT_EQ(Registro(), esperado);
        // Nothing drove: one all-off per event and the end's.
        const std::vector<unsigned> bytes = BytesDesde(previos);
        EXPECT_GE(bytes.size(), 3u);
        EXPECT_EQ(Tramos(bytes), std::vector<unsigned> {0});
    }
}

// Forward, backward, a right turn latched and released, then forward held
// until the emulator dies.
constexpr char EscenarioPrueba[] = R"(# Headset on with good signal and contacts from the start.
0     senal 2
0     contactos 4
0     bateria 5 5
0.2   alta 0
0.8   expresiva apretar 0.8
1.3   expresiva neutral 0
1.6   cognitiva tirar 0.8
2.1   cognitiva neutral 0
2.4   giro 240 0 en 0.25
2.65  giro 0 0 en 0.3
3.3   giro 240 0 en 0.25
3.55  giro 0 0 en 0.3
4.2   expresiva apretar 0.8
4.5   fin
)";

TEST_F(MotorReal, ConduceConElEmuladorYParaAlPerderElEnlace)
{
    const QString escenario = FCarpeta.filePath(QStringLiteral("prueba.esc"));
    {
        QFile fichero(escenario);
        ASSERT_TRUE(fichero.open(QIODevice::WriteOnly));
        fichero.write(EscenarioPrueba);
    }
    TProcesoEmulador emulador({"--direccion", "127.0.0.1", "--puerto", "0", "--escenario", escenario.toStdString()});
    const std::uint16_t puerto = emulador.Puerto();
    ASSERT_NE(puerto, 0) << emulador.Texto();

    Preparar(ItemEmoComposer);
    Teclear(Ui().EditIp1, QStringLiteral("127"));
    Teclear(Ui().EditIp2, QStringLiteral("0"));
    Teclear(Ui().EditIp3, QStringLiteral("0"));
    Teclear(Ui().EditIp4, QStringLiteral("1"));
    Teclear(Ui().EditPuerto, QString::number(puerto));
    const std::size_t previos = FGrabacion.Valores().size();

    // Once the scenario has ended in a clench the emulator is killed; the
    // run goes on a little after the window has noticed, then disconnects.
    bool muerto = false;
    QString estadoTrasPerdida;
    QElapsedTimer trasPerdida;
    Ejecutar(
        [&] {
            if (!muerto) {
                if (Ui().LabelTiempoConexion->text().toDouble() < 4.6)
                    return false;
                muerto = true;
                emulador.Matar();
                return false;
            }
            if (!trasPerdida.isValid()) {
                if (TextoEstado() == QStringLiteral("Error"))
                    trasPerdida.start();
                return false;
            }
            estadoTrasPerdida = TextoEstado();
            return trasPerdida.elapsed() > 300;
        },
        std::chrono::seconds(20));
    ASSERT_TRUE(muerto);
    EXPECT_EQ(estadoTrasPerdida, QStringLiteral("Error"));

    const std::vector<unsigned> bytes = BytesDesde(previos);
    // The scenario's commands, then a single all-off for the lost link and
    // the end of the run's.
    EXPECT_EQ(Tramos(bytes), (std::vector<unsigned> {0x00, 0x01, 0x00, 0x02, 0x00, 0x08, 0x00, 0x01, 0x00}));
    ASSERT_GE(bytes.size(), 3u);
    EXPECT_EQ(std::vector<unsigned>(bytes.end() - 3, bytes.end()), (std::vector<unsigned> {0x01, 0x00, 0x00}));

    const std::vector<QString> esperado = {
        QStringLiteral("I Conectado con EmoComposer en 127.0.0.1:%1").arg(puerto),
        QStringLiteral("I Optimización activada"),
        QStringLiteral("I COG.NEUTRAL TIRAR  EXP.NEUTRAL APRETAR DIENTES "),
        QStringLiteral("I Dispositivo detectado"),
        QStringLiteral("E 1281:Se ha perdido la conexión remota con el motor Emotiv"),
        QStringLiteral("I Desconectado"),
    };
    EXPECT_EQ(Registro(), esperado);
}

} // namespace
