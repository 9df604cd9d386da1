// gedanko-receptor as a process: a backlog that piled up while the receiver
// itself was stopped never drives, and over UDP only frames with its key do,
// each answered.
// Its own time stamps say when the last frame it took came.
#include "AyudaTrama.h"
#include "ProcesoHijo.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;

double Ahora()
{
    timespec t {};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct TLinea {
    int Avance = 0;
    int Enlace = 0;
    double Ultima = 0;
};

// gedanko-receptor, its announcement and its lines of outputs read back.
class Receptor {
public:
    explicit Receptor(std::vector<std::string> argumentos) : FProceso(RECEPTOR_RUTA, std::move(argumentos)) { }

    // Where it listens, from its announcement.
    std::string Nombre()
    {
        const std::optional<std::string> linea = FProceso.Linea(Limite(5000), true);
        const std::string prefijo = "gedanko-receptor: escuchando en ";
        return linea && linea->rfind(prefijo, 0) == 0 ? linea->substr(prefijo.size()) : "";
    }

    std::optional<TLinea> Cambio(int limiteMs)
    {
        const std::optional<std::string> linea = FProceso.Linea(Limite(limiteMs));
        TLinea l;
        double instante = 0;
        int otros[3];
        if (!linea
            || std::sscanf(linea->c_str(), "%lf avance=%d retroceso=%d izquierda=%d derecha=%d enlace=%d ultima=%lf",
                           &instante, &l.Avance, &otros[0], &otros[1], &otros[2], &l.Enlace, &l.Ultima)
                   != 7)
            return std::nullopt;
        return l;
    }

    void Senal(int senal) { FProceso.Senal(senal); }

private:
    static TProcesoHijo::TReloj::time_point Limite(int limiteMs)
    {
        return TProcesoHijo::TReloj::now() + std::chrono::milliseconds(limiteMs);
    }

    TProcesoHijo FProceso;
};

// Stopped for a second while forward frames kept coming, then resumed half
// a second after the last one: that backlog is no longer current.
TEST(Herramienta, LoAcumuladoMientrasEstabaParadoNoConduce)
{
    Receptor receptor({"--pty"});
    const std::string pty = receptor.Nombre();
    ASSERT_FALSE(pty.empty());
    const int fd = ::open(pty.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(receptor.Cambio(5000)); // the power-up line
    std::uint32_t secuencia = 1;
    auto enviar = [&] {
        const Bytes trama = Trama(trama::BitAvance, secuencia++);
        ASSERT_EQ(::write(fd, trama.data(), trama.size()), static_cast<ssize_t>(trama.size()));
    };
    enviar();
    const std::optional<TLinea> avance = receptor.Cambio(5000);
    ASSERT_TRUE(avance && avance->Avance == 1);

    receptor.Senal(SIGSTOP);
    const double parado = Ahora();
    for (int i = 0; i < 20; ++i) {
        enviar();
        std::this_thread::sleep_for(50ms);
    }
    std::this_thread::sleep_for(500ms);
    receptor.Senal(SIGCONT);
    const std::optional<TLinea> apagado = receptor.Cambio(5000);
    ASSERT_TRUE(apagado);
    EXPECT_EQ(apagado->Avance, 0);
    EXPECT_EQ(apagado->Enlace, 0);
    EXPECT_LT(apagado->Ultima, parado) << "a frame of the backlog was taken";
    EXPECT_FALSE(receptor.Cambio(500)) << "nothing drives afterwards";
    ::close(fd);
}

TEST(Herramienta, PorUdpSoloConduceUnaTramaEnteraConSuClave)
{
    const char* const texto = "8899aabbccddeeff0011223344556677";
    trama::TClave clave {};
    ASSERT_TRUE(trama::LeerClave(texto, clave));
    Receptor receptor({"--udp", "127.0.0.1:0", "--clave", texto});
    const std::string nombre = receptor.Nombre();
    ASSERT_FALSE(nombre.empty());
    ASSERT_TRUE(receptor.Cambio(5000));
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in destino {};
    destino.sin_family = AF_INET;
    destino.sin_port = htons(static_cast<std::uint16_t>(std::stoi(nombre.substr(nombre.rfind(':') + 1))));
    ::inet_pton(AF_INET, "127.0.0.1", &destino.sin_addr);
    auto enviar = [&](const Bytes& bytes) {
        ::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&destino), sizeof destino);
    };
    enviar(Trama(trama::BitAvance, 1));
    const Bytes avance = Trama(trama::BitAvance, 2, clave);
    enviar(Bytes(avance.begin(), avance.begin() + 5));
    enviar(Bytes(avance.begin() + 5, avance.end()));
    EXPECT_FALSE(receptor.Cambio(300));
    enviar(avance);
    const std::optional<TLinea> conduce = receptor.Cambio(5000);
    ASSERT_TRUE(conduce);
    EXPECT_EQ(conduce->Avance, 1);
    // Only the frame it took is answered, under the key.
    pollfd p {fd, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 5000), 1);
    std::uint8_t acuse[trama::LongitudTrama + 1];
    ASSERT_EQ(::recv(fd, acuse, sizeof acuse, 0), trama::LongitudTrama);
    EXPECT_TRUE(trama::ComprobarAcuse(clave, acuse));
    EXPECT_EQ(trama::LeerSecuencia(acuse), 2U);
    EXPECT_EQ(::recv(fd, acuse, sizeof acuse, MSG_DONTWAIT), -1);
    ::close(fd);
}

} // namespace
