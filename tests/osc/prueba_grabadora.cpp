// The recorder: served protocol lines become a scenario that plays back the
// same EmoStates, and a recording cut short by a full disk stays valid.
#include "Escenario.h"
#include "Grabadora.h"
#include "Protocolo.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

using emulador::TGrabadora;

namespace {

constexpr double Tasa = 32;

std::string RutaTemporal(const char* nombre)
{
    return testing::TempDir() + nombre + std::to_string(::getpid()) + ".esc";
}

std::string Linea(const edk::TEvento& e)
{
    std::string l;
    EXPECT_TRUE(edk::FormatearEvento(e, l));
    return l;
}

edk::TEvento Estado(double t, float clench, int giro, int senal)
{
    edk::TEvento e;
    e.Tipo = EE_EmoStateUpdated;
    e.Estado.Tiempo = static_cast<float>(t);
    e.Estado.AccionExpresiva = clench > 0 ? ACC_EXP_APRETAR_DIENTES : ACC_EXP_NEUTRAL;
    e.Estado.PotenciaExpresiva = clench;
    e.Estado.GiroX = giro;
    e.Estado.Senal = senal;
    e.Estado.Bateria = 4;
    e.Estado.BateriaMax = 5;
    e.Estado.Contactos.fill(4);
    e.Estado.Contactos[7] = 1;
    return e;
}

bool Iguales(const edk::TEstadoEmo& a, const edk::TEstadoEmo& b)
{
    return a.AccionCognitiva == b.AccionCognitiva && a.PotenciaCognitiva == b.PotenciaCognitiva
           && a.AccionExpresiva == b.AccionExpresiva && a.PotenciaExpresiva == b.PotenciaExpresiva && a.Senal == b.Senal
           && a.Bateria == b.Bateria && a.BateriaMax == b.BateriaMax && a.Contactos == b.Contactos && a.GiroX == b.GiroX
           && a.GiroY == b.GiroY;
}

} // namespace

TEST(Grabadora, LoGrabadoSeReproduceConLosMismosEstadosEnLosMismosTiempos)
{
    // A served stream: the headset on, steady states, a change served at
    // once between two ticks, the gyro's calibration lost and the headset off.
    std::vector<edk::TEvento> servidos;
    edk::TEvento alta;
    alta.Tipo = EE_UserAdded;
    servidos.push_back(alta);
    for (int k = 0; k < 10; ++k)
        servidos.push_back(Estado(k / Tasa, k < 4 ? 0 : 0.8F, k < 7 ? 0 : -150, k < 9 ? 2 : 0));
    servidos.insert(servidos.begin() + 5, Estado(3.5 / Tasa, 0.8F, 0, 2)); // served at once at 3.5 ticks
    edk::TEvento sinCalibrar;
    sinCalibrar.Tipo = edk::TipoInternoGiroSinCalibrar;
    servidos.push_back(sinCalibrar);
    edk::TEvento baja;
    baja.Tipo = EE_UserRemoved;
    servidos.push_back(baja);

    const std::string ruta = RutaTemporal("grabacion");
    {
        TGrabadora g;
        ASSERT_TRUE(g.Abrir(ruta)) << g.Error();
        for (const edk::TEvento& e : servidos)
            ASSERT_TRUE(g.Linea(Linea(e)));
        EXPECT_TRUE(g.Linea("no es una linea del protocolo")); // skipped, not fatal
    }
    edk::TEscenario escenario;
    ASSERT_TRUE(escenario.LeerFichero(ruta)) << escenario.Error();
    std::remove(ruta.c_str());

    // Every state comes back at its own moment, the one served between two
    // ticks too, whatever the replay's rate.
    edk::TReproductor reproductor(escenario, 7, false);
    std::vector<edk::TEvento> reproducidos;
    for (int paso = 0; paso <= 64; ++paso)
        reproductor.Avanzar(paso / (2 * Tasa), reproducidos);
    const std::vector<edk::TEvento>& esperados = servidos;
    ASSERT_EQ(reproducidos.size(), esperados.size());
    for (std::size_t i = 0; i < esperados.size(); ++i) {
        EXPECT_EQ(reproducidos[i].Tipo, esperados[i].Tipo) << i;
        if (esperados[i].Tipo == EE_EmoStateUpdated) {
            EXPECT_FLOAT_EQ(reproducidos[i].Estado.Tiempo, esperados[i].Estado.Tiempo) << i;
            EXPECT_TRUE(Iguales(reproducidos[i].Estado, esperados[i].Estado)) << i;
        }
    }
}

TEST(Grabadora, UnDiscoLlenoDejaUnEscenarioValidoHastaElUltimoRegistroEntero)
{
    const std::string ruta = RutaTemporal("llena");
    // A file size limit stands in for a full disk: the write that reaches it is cut short.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit antes {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &antes), 0);
    rlimit limite = antes;
    limite.rlim_cur = 700;
    TGrabadora g;
    ASSERT_TRUE(g.Abrir(ruta));
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limite), 0);
    bool escrito = true;
    int k = 0;
    for (; k < 200 && escrito; ++k)
        escrito = g.Linea(Linea(Estado(k / Tasa, static_cast<float>(k % 10) / 10, k * 3, 2)));
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &antes), 0);
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(escrito);
    EXPECT_FALSE(g.Activa());
    EXPECT_NE(g.Error().find("la grabación se detiene"), std::string::npos) << g.Error();

    std::ifstream f(ruta);
    std::stringstream texto;
    texto << f.rdbuf();
    std::remove(ruta.c_str());
    EXPECT_LE(texto.str().size(), 700u);
    ASSERT_FALSE(texto.str().empty());
    EXPECT_EQ(texto.str().back(), '\n');
    edk::TEscenario escenario;
    EXPECT_TRUE(escenario.Leer(texto.str())) << escenario.Error();
    EXPECT_GT(escenario.Ordenes().size(), 5u);
}
