// The window against libedk.so as the program ships it, in real time: the
// local engine with the demo profile, and a real gedanko-emulador process on
// a loopback port playing a short scenario of its own, killed halfway; and a
// drive by a generated headband OSC stream, recorded and replayed.
#include "EjecucionReal.h"
#include "ProcesoEmulador.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <cmath>
#include <csignal>
#include <lo/lo.h>
#include <random>

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

    // Connects to the emulator on 'puerto' and runs for 'segundos', calling
    // 'paso' with the time since the run began; the bytes the vehicle got.
    std::vector<unsigned> Conducir(std::uint16_t puerto, double segundos, const std::function<void(double)>& paso)
    {
        Preparar(ItemEmoComposer);
        Teclear(Ui().EditIp1, QStringLiteral("127"));
        Teclear(Ui().EditIp2, QStringLiteral("0"));
        Teclear(Ui().EditIp3, QStringLiteral("0"));
        Teclear(Ui().EditIp4, QStringLiteral("1"));
        Teclear(Ui().EditPuerto, QString::number(puerto));
        const std::size_t previos = FGrabacion.Valores().size();
        QElapsedTimer reloj;
        Ejecutar(
            [&] {
                if (!reloj.isValid())
                    reloj.start();
                const double t = static_cast<double>(reloj.nsecsElapsed()) / 1e9;
                paso(t);
                return t >= segundos;
            },
            std::chrono::seconds(30));
        return BytesDesde(previos);
    }
};

// The emulator's OSC port, announced at start-up.
std::uint16_t PuertoOsc(TProcesoEmulador& emulador)
{
    const std::string marca = "escuchando OSC en UDP 0.0.0.0:";
    if (!emulador.EsperarTexto(marca) || !emulador.EsperarTexto(" (mapa"))
        return 0;
    return static_cast<std::uint16_t>(std::stoi(emulador.Texto().substr(emulador.Texto().find(marca) + marca.size())));
}

// A headband's stream: yaw at 52 Hz with sensor noise and three quick turns
// (right, right again, left), and jaw clenches reported at 10 Hz.
class TCintaGenerada {
public:
    explicit TCintaGenerada(std::uint16_t puerto)
        : FDestino(lo_address_new("127.0.0.1", std::to_string(puerto).c_str()))
    {
    }
    ~TCintaGenerada() { lo_address_free(FDestino); }
    TCintaGenerada(const TCintaGenerada&) = delete;
    TCintaGenerada& operator=(const TCintaGenerada&) = delete;

    void Hasta(double t)
    {
        for (; FGiro <= t; FGiro += 1.0 / 52) {
            double yaw = FRuido(FAzar);
            for (const double inicio : {1.5, 3.5})
                yaw += FGiro >= inicio && FGiro < inicio + 0.5 ? 120 : 0;
            yaw -= FGiro >= 5.0 && FGiro < 5.5 ? 120 : 0;
            lo_send(FDestino, "/muse/gyro", "fff", 0.0F, 0.0F, static_cast<float>(yaw));
        }
        for (; FApretar <= t; FApretar += 0.1)
            if ((FApretar >= 2.0 && FApretar < 3.0) || (FApretar >= 4.2 && FApretar < 4.8))
                lo_send(FDestino, "/muse/elements/jaw_clench", "i", 1);
    }

private:
    lo_address FDestino;
    std::mt19937 FAzar {5};
    std::normal_distribution<double> FRuido {0, 2.5};
    double FGiro = 0;
    double FApretar = 0;
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

// Something that accepts connections on the emulator's port but is not the
// emulator: the window never says it connected, and says how to start one.
TEST_F(MotorReal, UnServidorQueNoEsElEmuladorNoConecta)
{
    struct TCaso {
        const char* Nombre;
        QByteArray Respuesta; // empty: accepts and stays silent
    };
    for (const TCaso& c : {TCaso {"callado", {}}, TCaso {"un servidor web", "HTTP/1.1 400 Bad Request\r\n\r\n"}}) {
        SCOPED_TRACE(c.Nombre);
        QTcpServer servidor;
        ASSERT_TRUE(servidor.listen(QHostAddress::LocalHost));
        std::vector<std::unique_ptr<QTcpSocket>> clientes;
        QObject::connect(&servidor, &QTcpServer::newConnection, [&] {
            clientes.emplace_back(servidor.nextPendingConnection());
            clientes.back()->write(c.Respuesta);
        });
        const QString puerto = QString::number(servidor.serverPort());
        const std::vector<unsigned> bytes = Conducir(servidor.serverPort(), 5, [](double) {});
        EXPECT_EQ(bytes, std::vector<unsigned> {0});
        const std::vector<QString> registro = Registro();
        ASSERT_EQ(registro.size(), 4u);
        EXPECT_EQ(registro[0], QStringLiteral("E No se puede conectar con EmoComposer en 127.0.0.1:") + puerto);
        EXPECT_TRUE(registro[1].startsWith(QStringLiteral("E 1282:"))) << registro[1].toStdString();
        EXPECT_EQ(registro[2], QStringLiteral("I Si el emulador no está en marcha en este equipo, arránquelo"));
        EXPECT_EQ(registro[3], QStringLiteral("I con «gedanko-emulador --puerto ") + puerto
                                   + QStringLiteral("» y pulse Conectar de nuevo"));
        FVentana.reset();
    }
}

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

// A live drive by a headband's stream, recorded, then the recording replayed:
// the vehicle gets the same commands in the same order.
TEST_F(MotorReal, LaReproduccionDeUnaGrabacionConduceComoElViaje)
{
    constexpr double Duracion = 6.5;
    const std::string grabacion = FCarpeta.filePath(QStringLiteral("viaje.esc")).toStdString();
    std::vector<unsigned> vivo;
    {
        TProcesoEmulador emulador({"--puerto", "0", "--osc", "0", "--mapa", "muse", "--grabar", grabacion});
        const std::uint16_t puerto = emulador.Puerto();
        const std::uint16_t osc = PuertoOsc(emulador);
        ASSERT_NE(osc, 0) << emulador.Texto();
        TCintaGenerada cinta(osc);
        vivo = Tramos(Conducir(puerto, Duracion, [&](double t) { cinta.Hasta(t); }));
        emulador.Senal(SIGINT);
        EXPECT_EQ(emulador.EsperarSalida(), 0);
    }
    // The drive latched both turns, released one and went forward.
    EXPECT_NE(std::find(vivo.begin(), vivo.end(), 0x08U), vivo.end());
    EXPECT_NE(std::find(vivo.begin(), vivo.end(), 0x09U), vivo.end());
    EXPECT_NE(std::find(vivo.begin(), vivo.end(), 0x04U), vivo.end());

    TProcesoEmulador replay({"--puerto", "0", "--escenario", grabacion});
    const std::uint16_t puerto = replay.Puerto();
    ASSERT_NE(puerto, 0) << replay.Texto();
    EXPECT_EQ(Tramos(Conducir(puerto, Duracion, [](double) {})), vivo);
}

} // namespace
