// The actuator with a frame destination: frames on a real pseudo-terminal and
// on a UDP socket, the heartbeat, all off on every stop, the open errors,
// and a link lost and found again (over a link the test breaks at will).
#include "Actuador.h"
#include "EnlaceUdp.h"
#include "Receptor.h"
#include "SalidaTrama.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QUdpSocket>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <ostream>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

using Ordenes = std::vector<std::uint8_t>;

// Runs the event loop until `hecho` answers true or the limit passes.
bool Esperar(const std::function<bool()>& hecho, int limiteMs = 5000)
{
    QElapsedTimer reloj;
    reloj.start();
    while (!hecho()) {
        if (reloj.elapsed() > limiteMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        ::usleep(1000);
    }
    return true;
}

// The commands of whole frames in a byte stream or in datagrams, decoded as
// the receiver does, with their sequence numbers.
class Decodificador {
public:
    explicit Decodificador(const trama::TClave& clave = {}) { FReceptor.FijarClave(clave); }
    void Recibir(const std::uint8_t* bytes, long cuantos)
    {
        for (long i = 0; i < cuantos; ++i)
            Anotar([&] { FReceptor.Recibir(bytes[i], 0); });
    }
    void RecibirDatagrama(const std::uint8_t* bytes, long cuantos)
    {
        Anotar([&] { FReceptor.RecibirDatagrama(bytes, static_cast<std::uint16_t>(cuantos), 0); });
    }
    Ordenes FOrdenes;
    std::vector<std::uint32_t> FSecuencias;

private:
    void Anotar(const std::function<void()>& recibir)
    {
        const std::uint32_t antes = FReceptor.TramasValidas();
        recibir();
        if (FReceptor.TramasValidas() != antes) {
            FOrdenes.push_back(FReceptor.Salidas());
            FSecuencias.push_back(FReceptor.Secuencia());
        }
    }
    TReceptor FReceptor;
};

// A pseudo-terminal whose other end the actuator opens.
class Pty {
public:
    Pty()
    {
        FMaestro = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        ::grantpt(FMaestro);
        ::unlockpt(FMaestro);
        FEsclavo = ::ptsname(FMaestro);
    }
    ~Pty() { ::close(FMaestro); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    Ordenes& Leer()
    {
        std::uint8_t bytes[256];
        long n = 0;
        while ((n = ::read(FMaestro, bytes, sizeof bytes)) > 0)
            FDecodificador.Recibir(bytes, n);
        return FDecodificador.FOrdenes;
    }
    QString FEsclavo;

private:
    int FMaestro = -1;
    Decodificador FDecodificador;
};

// A UDP receiver on a free loopback port, with a key: frames without its
// tag would not count.
const char* const ClaveUdp = "0f1e2d3c4b5a69788796a5b4c3d2e1f0";

trama::TClave Clave(const char* texto)
{
    trama::TClave clave {};
    trama::LeerClave(texto, clave);
    return clave;
}

class Udp {
public:
    Udp() { FSocket.bind(QHostAddress::LocalHost, 0); }
    QString Destino() const
    {
        return QStringLiteral("udp:127.0.0.1:%1,%2").arg(FSocket.localPort()).arg(QLatin1String(ClaveUdp));
    }
    Ordenes& Leer()
    {
        while (FSocket.hasPendingDatagrams()) {
            QByteArray datos(int(FSocket.pendingDatagramSize()), '\0');
            FSocket.readDatagram(datos.data(), datos.size());
            FDecodificador.RecibirDatagrama(reinterpret_cast<const std::uint8_t*>(datos.constData()), datos.size());
        }
        return FDecodificador.FOrdenes;
    }

private:
    QUdpSocket FSocket;
    Decodificador FDecodificador {Clave(ClaveUdp)};
};

// Every frame destination behaves alike; each case makes its receiver.
template <class TReceptorPrueba> class SalidaTrama : public testing::Test {
protected:
    QString Destino();
    TReceptorPrueba FReceptor;
};
template <> QString SalidaTrama<Pty>::Destino()
{
    return QStringLiteral("serie:") + FReceptor.FEsclavo;
}
template <> QString SalidaTrama<Udp>::Destino()
{
    return FReceptor.Destino();
}

using Receptores = testing::Types<Pty, Udp>;
TYPED_TEST_SUITE(SalidaTrama, Receptores);

TYPED_TEST(SalidaTrama, ApagadoAlHabilitarOrdenesAlMomentoYLatido)
{
    TActuador actuador(this->Destino(), nullptr);
    ASSERT_FALSE(actuador.HayError()) << actuador.CausaError().toStdString();
    ASSERT_TRUE(actuador.Habilitar(true));
    ASSERT_TRUE(actuador.Mover(dirAvance, giroIzquierda));
    ASSERT_TRUE(Esperar([&] { return this->FReceptor.Leer().size() >= 2; }));
    EXPECT_EQ(this->FReceptor.Leer(), (Ordenes {0x00, 0x05})) << "all off on enabling, then the command";
    // With nothing new to send, the command is repeated.
    ASSERT_TRUE(Esperar([&] { return this->FReceptor.Leer().size() >= 5; }));
    for (std::uint8_t orden : this->FReceptor.Leer())
        EXPECT_TRUE(orden == 0x00 || orden == 0x05);
    EXPECT_EQ(this->FReceptor.Leer().back(), 0x05);
}

TYPED_TEST(SalidaTrama, InhabilitarApagaYCallaElLatido)
{
    TActuador actuador(this->Destino(), nullptr);
    ASSERT_TRUE(actuador.Habilitar(true));
    actuador.Mover(dirRetroceso, giroDerecha);
    EXPECT_FALSE(actuador.Habilitar(false));
    ASSERT_TRUE(Esperar([&] { return !this->FReceptor.Leer().empty() && this->FReceptor.Leer().back() == 0; }));
    const std::size_t tras = this->FReceptor.Leer().size();
    // Three heartbeats' time: nothing more goes out.
    QElapsedTimer reloj;
    reloj.start();
    Esperar([&] { return reloj.elapsed() > 3 * trama::IntervaloLatidoMs; });
    EXPECT_EQ(this->FReceptor.Leer().size(), tras);
    EXPECT_FALSE(actuador.Mover(dirAvance, giroNinguno));
    EXPECT_EQ(this->FReceptor.Leer().size(), tras);
}

TYPED_TEST(SalidaTrama, AlDestruirseHabilitadoMandaTodoApagado)
{
    {
        TActuador actuador(this->Destino(), nullptr);
        ASSERT_TRUE(actuador.Habilitar(true));
        actuador.Mover(dirAvance, giroNinguno);
    }
    ASSERT_TRUE(Esperar([&] { return this->FReceptor.Leer().size() >= 3; }));
    EXPECT_EQ(this->FReceptor.Leer().back(), 0x00);
}

// Every frame is newer than the one before, also from a program started
// again: a receiver never takes one of them for a replay. A burst of frames
// runs ahead of the clock by a millisecond each; a restart takes far longer
// than this one's lead.
TYPED_TEST(SalidaTrama, LasSecuenciasCrecenTambienTrasReiniciar)
{
    for (int vez = 0; vez < 2; ++vez) {
        ::usleep(50000);
        TActuador actuador(this->Destino(), nullptr);
        ASSERT_TRUE(actuador.Habilitar(true));
        for (int i = 0; i < 20; ++i)
            actuador.Mover(i % 2 ? dirAvance : dirRetroceso, giroNinguno);
        ASSERT_TRUE(actuador.Mover(dirNinguna, giroNinguno));
    }
    ASSERT_TRUE(Esperar([&] { return this->FReceptor.Leer().size() >= 2 * 22; }));
    EXPECT_EQ(this->FReceptor.Leer().back(), 0x00);
}

// A UDP receiver that stops answering (here: answers under another key) is
// reported once, and once more when it answers again; the frames go on.
TEST(Respuesta, UnReceptorMudoSeAvisaUnaVezYSuVueltaTambien)
{
    const trama::TClave clave = Clave(ClaveUdp);
    QUdpSocket receptor;
    ASSERT_TRUE(receptor.bind(QHostAddress::LocalHost, 0));
    TSalidaTrama salida(std::make_unique<TEnlaceUdp>(QStringLiteral("127.0.0.1"), receptor.localPort(), clave),
                        QStringLiteral("udp:coche:4210"));
    std::vector<std::pair<bool, QString>> lineas;
    salida.FijarAviso([&](bool error, const QString& linea) { lineas.emplace_back(error, linea); });
    ASSERT_TRUE(salida.Abrir());
    salida.Latir(true);
    ASSERT_TRUE(salida.Enviar(trama::BitAvance));
    trama::TClave claveRespuesta = clave;
    int tramas = 0;
    auto atender = [&] {
        while (receptor.hasPendingDatagrams()) {
            QByteArray datos(int(receptor.pendingDatagramSize()), '\0');
            QHostAddress remitente;
            quint16 puerto = 0;
            receptor.readDatagram(datos.data(), datos.size(), &remitente, &puerto);
            ++tramas;
            std::uint8_t acuse[trama::LongitudTrama];
            trama::CodificarAcuse(trama::LeerSecuencia(reinterpret_cast<const std::uint8_t*>(datos.constData())),
                                  claveRespuesta, acuse);
            receptor.writeDatagram(reinterpret_cast<const char*>(acuse), sizeof acuse, remitente, puerto);
        }
    };
    QElapsedTimer reloj;
    reloj.start();
    Esperar([&] {
        atender();
        return reloj.elapsed() > 2 * TEnlaceUdp::EsperaRespuestaMs;
    });
    EXPECT_TRUE(lineas.empty()) << "an answering receiver is never reported";

    claveRespuesta.Bytes[0] ^= 1;
    const int antes = tramas;
    ASSERT_TRUE(Esperar([&] {
        atender();
        return !lineas.empty();
    }));
    EXPECT_GT(tramas, antes + 5) << "the heartbeat went on";
    claveRespuesta = clave;
    ASSERT_TRUE(Esperar([&] {
        atender();
        return lineas.size() >= 2;
    }));
    ASSERT_EQ(lineas.size(), 2U);
    EXPECT_EQ(lineas[0], std::make_pair(true, QStringLiteral("Salida udp:coche:4210: el receptor no responde")));
    EXPECT_EQ(lineas[1], std::make_pair(false, QStringLiteral("Salida udp:coche:4210: el receptor responde")));
}

struct CasoApertura {
    std::string Nombre;
    QString Destino;
    QString Causa;
    friend void PrintTo(const CasoApertura& caso, std::ostream* salida) { *salida << caso.Nombre; }
};

class Apertura : public testing::TestWithParam<CasoApertura> { };

TEST_P(Apertura, ErrorConElDispositivoYLaCausaYSinSalida)
{
    TActuador actuador(GetParam().Destino, nullptr);
    EXPECT_TRUE(actuador.HayError());
    EXPECT_EQ(actuador.MensajeError(), QStringLiteral("Error abriendo la salida"));
    EXPECT_EQ(actuador.CausaError(), GetParam().Causa);
    EXPECT_FALSE(actuador.Habilitar(true));
    EXPECT_FALSE(actuador.Mover(dirAvance, giroNinguno));
}

INSTANTIATE_TEST_SUITE_P(
    Salida, Apertura,
    testing::Values(
        CasoApertura {"SinDispositivo", "serie:/dev/gedanko-no-existe",
                      "no existe /dev/gedanko-no-existe: conecte la placa o corrija Destino en gedanko.ini"},
        CasoApertura {"ValorErroneo", "serie:ttyACM0",
                      "Destino de salida no válido «serie:ttyACM0»: el dispositivo serie debe ser una ruta como "
                      "/dev/ttyACM0"},
        CasoApertura {"EquipoDesconocido", "udp:gedanko-no-existe.invalid:4210",
                      "no se encuentra el equipo gedanko-no-existe.invalid: revise Destino en gedanko.ini"}),
    [](const testing::TestParamInfo<CasoApertura>& caso) { return caso.param.Nombre; });

// /dev/null is no serial device: Qt's reason follows the device's name.
TEST(Apertura, NoEsSerieDaLaRazonDelSistema)
{
    TActuador actuador(u"serie:/dev/null", nullptr);
    EXPECT_TRUE(actuador.CausaError().startsWith(QStringLiteral("no se puede abrir /dev/null: ")))
        << actuador.CausaError().toStdString();
}

TEST(Apertura, SinPermisoPideElGrupoDialout)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root opens any device";
    Pty pty;
    ASSERT_EQ(::chmod(pty.FEsclavo.toLocal8Bit().constData(), 0), 0);
    TActuador actuador(QStringLiteral("serie:") + pty.FEsclavo, nullptr);
    EXPECT_EQ(actuador.CausaError(),
              QStringLiteral("sin permiso en %1: añada el usuario al grupo dialout").arg(pty.FEsclavo));
}

// A link the test breaks and mends.
class EnlaceRompible : public TEnlaceTrama {
public:
    bool Abrir() override { return FSano ? true : Fallar(QStringLiteral("sigue sin estar")); }
    void Cerrar() override { }
    bool Enviar(const std::uint8_t* bytes, int cuantos) override
    {
        if (!FSano)
            return Fallar(QStringLiteral("desconectado"));
        FDecodificador->Recibir(bytes, cuantos);
        return true;
    }
    bool FSano = true;
    Decodificador* FDecodificador = nullptr;
};

TEST(EnlacePerdido, UnaLineaReintentaYAlVolverSoloTodoApagado)
{
    Decodificador recibido;
    auto enlace = std::make_unique<EnlaceRompible>();
    EnlaceRompible* roto = enlace.get();
    roto->FDecodificador = &recibido;
    TSalidaTrama salida(std::move(enlace), QStringLiteral("serie:/dev/ttyACM0,115200"));
    std::vector<std::pair<bool, QString>> lineas;
    salida.FijarAviso([&](bool error, const QString& linea) { lineas.emplace_back(error, linea); });
    ASSERT_TRUE(salida.Abrir());
    salida.Latir(true);
    ASSERT_TRUE(salida.Enviar(trama::BitAvance));

    roto->FSano = false;
    // The heartbeat finds the link gone; a command meanwhile goes nowhere.
    ASSERT_TRUE(Esperar([&] { return !lineas.empty(); }));
    EXPECT_FALSE(salida.Abierto());
    EXPECT_FALSE(salida.Enviar(trama::BitAvance));
    // Several retries fail without another line.
    QElapsedTimer reloj;
    reloj.start();
    Esperar([&] { return reloj.elapsed() > 2 * TSalidaTrama::IntervaloReintentoMs + 200; });
    ASSERT_EQ(lineas.size(), 1U);
    EXPECT_EQ(lineas[0], std::make_pair(true, QStringLiteral("Salida serie:/dev/ttyACM0,115200 perdida: "
                                                             "desconectado; se reintenta cada segundo")));

    const std::size_t antes = recibido.FOrdenes.size();
    roto->FSano = true;
    ASSERT_TRUE(Esperar([&] { return lineas.size() == 2 && recibido.FOrdenes.size() > antes + 2; }));
    EXPECT_EQ(lineas[1], std::make_pair(false, QStringLiteral("Salida serie:/dev/ttyACM0,115200 recuperada")));
    // The command from before the loss is never resent.
    for (std::size_t i = antes; i < recibido.FOrdenes.size(); ++i)
        EXPECT_EQ(recibido.FOrdenes[i], 0x00) << i;
}

} // namespace

namespace {

// The heartbeat carries what is current at each beat, not merely the last
// command written: a drive bit whose source went quiet is not repeated.
TYPED_TEST(SalidaTrama, ElLatidoRepiteSoloLaOrdenVigente)
{
    TActuador actuador(this->Destino(), nullptr);
    ASSERT_TRUE(actuador.Habilitar(true));
    std::uint8_t vigente = 0x05;
    actuador.FijarVigente([&] { return vigente; });
    actuador.Mover(dirAvance, giroIzquierda);
    ASSERT_TRUE(Esperar([&] { return this->FReceptor.Leer().size() >= 3; }));
    vigente = 0x04;
    const std::size_t antes = this->FReceptor.Leer().size();
    ASSERT_TRUE(Esperar([&] { return this->FReceptor.Leer().size() >= antes + 3; }));
    const Ordenes leidas = this->FReceptor.Leer();
    // At most the frame already on its way carries the old command.
    for (std::size_t i = antes + 1; i < leidas.size(); ++i)
        EXPECT_EQ(leidas[i], 0x04) << i;

    // A beat on demand, for a caller that holds the message loop still.
    const std::size_t ahora = leidas.size();
    actuador.Repetir();
    ASSERT_TRUE(Esperar([&] { return this->FReceptor.Leer().size() > ahora; }));
    EXPECT_EQ(this->FReceptor.Leer().back(), 0x04);
}

} // namespace
