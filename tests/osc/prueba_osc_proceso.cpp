// The real gedanko-emulador fed with OSC packets sent through liblo, read by
// an engine client through libedk.so's C API as the program reads it.
#include "PaqueteOsc.h"
#include "ProcesoEmulador.h"
#include "edk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Reloj = std::chrono::steady_clock;

// One EmoState as the client reads it.
struct TLeido {
    float Tiempo = 0;
    unsigned AccionExpresiva = 0;
    float PotenciaExpresiva = 0;
    unsigned AccionCognitiva = 0;
    float PotenciaCognitiva = 0;
    int Senal = 0;
    std::array<int, EDK_NUM_CANALES> Contactos {};
    int GiroX = 0;
    int Bateria = 0;
    int BateriaMax = 0;

    bool MismosValores(const TLeido& o) const
    {
        return AccionExpresiva == o.AccionExpresiva && PotenciaExpresiva == o.PotenciaExpresiva
               && AccionCognitiva == o.AccionCognitiva && PotenciaCognitiva == o.PotenciaCognitiva && Senal == o.Senal
               && Contactos == o.Contactos && GiroX == o.GiroX;
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

// An engine connected to the emulator through the C API.
class TCliente {
public:
    explicit TCliente(std::uint16_t puerto)
    {
        FConectado = EE_EngineRemoteConnect("127.0.0.1", puerto) == EDK_SIN_ERRORES;
    }
    ~TCliente()
    {
        EE_EngineDisconnect();
        EE_EmoStateFree(FEstado);
        EE_EmoEngineEventFree(FEvento);
    }
    TCliente(const TCliente&) = delete;
    TCliente& operator=(const TCliente&) = delete;

    bool Conectado() const { return FConectado; }

    // Reads EmoStates until one satisfies 'vale'; false when none does in time.
    bool Esperar(const std::function<bool(const TLeido&)>& vale, TLeido* leido = nullptr, int esperaMs = 10000)
    {
        const auto limite = Reloj::now() + std::chrono::milliseconds(esperaMs);
        TLeido l;
        while (Reloj::now() < limite) {
            if (!Siguiente(l)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            if (vale(l)) {
                if (leido)
                    *leido = l;
                return true;
            }
        }
        return false;
    }

    // Every EmoState read for 'ms' milliseconds.
    std::vector<TLeido> Todos(int ms)
    {
        std::vector<TLeido> todos;
        Esperar(
            [&](const TLeido& l) {
                todos.push_back(l);
                return false;
            },
            nullptr, ms);
        return todos;
    }

private:
    bool Siguiente(TLeido& l)
    {
        if (EE_EngineGetNextEvent(FEvento) != EDK_SIN_ERRORES
            || EE_EmoEngineEventGetType(FEvento) != EE_EmoStateUpdated)
            return false;
        EE_EmoEngineEventGetEmoState(FEvento, FEstado);
        l.Tiempo = ES_GetTimeFromStart(FEstado);
        l.AccionExpresiva = ES_ExpressivGetLowerFaceAction(FEstado);
        l.PotenciaExpresiva = ES_ExpressivGetLowerFaceActionPower(FEstado);
        l.AccionCognitiva = ES_CognitivGetCurrentAction(FEstado);
        l.PotenciaCognitiva = ES_CognitivGetCurrentActionPower(FEstado);
        l.Senal = ES_GetWirelessSignalStatus(FEstado);
        ES_GetContactQualityFromAllChannels(FEstado, l.Contactos.data(), l.Contactos.size());
        ES_GetBatteryChargeLevel(FEstado, &l.Bateria, &l.BateriaMax);
        int dy = 0;
        EE_HeadsetGetGyroDelta(0, &l.GiroX, &dy);
        return true;
    }

    EmoEngineEventHandle FEvento = EE_EmoEngineEventCreate();
    EmoStateHandle FEstado = EE_EmoStateCreate();
    bool FConectado = false;
};

// Sends OSC messages to the emulator as an app on the network would.
class TEmisor {
public:
    explicit TEmisor(std::uint16_t puerto) : FDestino(lo_address_new("127.0.0.1", std::to_string(puerto).c_str())) { }
    ~TEmisor() { lo_address_free(FDestino); }
    TEmisor(const TEmisor&) = delete;
    TEmisor& operator=(const TEmisor&) = delete;

    void Floats(const char* direccion, const std::vector<float>& valores)
    {
        lo_message m = lo_message_new();
        for (const float v : valores)
            lo_message_add_float(m, v);
        lo_send_message(FDestino, direccion, m);
        lo_message_free(m);
    }
    void Entero(const char* direccion, int valor) { lo_send(FDestino, direccion, "i", valor); }
    // Two one-float messages in one bundle: one packet, one change.
    void Par(const char* primera, float a, const char* segunda, float b)
    {
        lo_bundle bundle = lo_bundle_new(LO_TT_IMMEDIATE);
        lo_message m1 = lo_message_new();
        lo_message_add_float(m1, a);
        lo_message m2 = lo_message_new();
        lo_message_add_float(m2, b);
        lo_bundle_add_message(bundle, primera, m1);
        lo_bundle_add_message(bundle, segunda, m2);
        lo_send_bundle(FDestino, bundle);
        lo_bundle_free_recursive(bundle);
    }

private:
    lo_address FDestino;
};

} // namespace

TEST(OscProceso, MuseApretarGirarHerraduraYFrescura)
{
    TProcesoEmulador emulador({"--puerto", "0", "--osc", "0", "--mapa", "muse"});
    const std::uint16_t puerto = emulador.Puerto();
    const std::uint16_t osc = PuertoOsc(emulador);
    ASSERT_NE(puerto, 0) << emulador.Texto();
    ASSERT_NE(osc, 0) << emulador.Texto();
    TCliente cliente(puerto);
    ASSERT_TRUE(cliente.Conectado());
    TEmisor emisor(osc);

    // No battery reading before the app's first: an idle gauge, not a full one.
    TLeido primero;
    ASSERT_TRUE(cliente.Esperar([](const TLeido&) { return true; }, &primero));
    EXPECT_EQ(primero.BateriaMax, 0);
    emisor.Floats("/muse/batt", {9000, 4000, 0, 0});
    TLeido cargado;
    ASSERT_TRUE(cliente.Esperar([](const TLeido& l) { return l.BateriaMax > 0; }, &cargado));
    EXPECT_EQ(cargado.Bateria, 9);
    EXPECT_EQ(cargado.BateriaMax, 11);

    // A clench reported once is held for 0.3 s, then released.
    emisor.Entero("/muse/elements/jaw_clench", 1);
    TLeido apretado;
    ASSERT_TRUE(cliente.Esperar(
        [](const TLeido& l) { return l.AccionExpresiva == ACC_EXP_APRETAR_DIENTES && l.PotenciaExpresiva == 1; },
        &apretado))
        << emulador.Texto();
    TLeido suelto;
    ASSERT_TRUE(cliente.Esperar([](const TLeido& l) { return l.AccionExpresiva == ACC_EXP_NEUTRAL; }, &suelto));
    EXPECT_GE(suelto.Tiempo - apretado.Tiempo, 0.25F);

    // The yaw rate: 90 degrees per second moves the head to the right at every reading.
    TLeido girado;
    bool llego = false;
    for (int i = 0; i < 200 && !llego; ++i) {
        emisor.Floats("/muse/gyro", {0, 0, 90});
        llego = cliente.Esperar([](const TLeido& l) { return l.GiroX >= 150; }, &girado, 20);
    }
    EXPECT_TRUE(llego);

    // The four sensors' fit lights their nearest electrodes; the rest show the
    // lowest usable quality.
    emisor.Floats("/muse/elements/horseshoe", {1, 2, 4, 1});
    TLeido contactos;
    ASSERT_TRUE(cliente.Esperar([](const TLeido& l) { return l.Contactos[3] == 3; }, &contactos));
    EXPECT_EQ(contactos.Contactos[7], 4);
    EXPECT_EQ(contactos.Contactos[16], 1);
    EXPECT_EQ(contactos.Contactos[11], 4);
    EXPECT_EQ(contactos.Contactos[0], 2);
    EXPECT_EQ(contactos.Senal, EDK_SENAL_BUENA);

    // Silence: no wireless signal after 500 ms, said once; back with the data.
    TLeido callado;
    ASSERT_TRUE(cliente.Esperar([](const TLeido& l) { return l.Senal == EDK_SIN_SENAL; }, &callado));
    EXPECT_GE(callado.Tiempo - contactos.Tiempo, 0.45F);
    EXPECT_TRUE(emulador.EsperarTexto("sin datos OSC desde hace 500 ms"));
    emisor.Floats("/muse/elements/horseshoe", {1, 1, 1, 1});
    EXPECT_TRUE(cliente.Esperar([](const TLeido& l) { return l.Senal == EDK_SENAL_BUENA && l.Contactos[3] == 4; }));
    EXPECT_TRUE(emulador.EsperarTexto("vuelven a llegar datos OSC"));

    // Bad input is warned about and changes nothing; the server lives on.
    emisor.Entero("/muse/desconocida", 1);
    EXPECT_TRUE(emulador.EsperarTexto("sin regla en el mapa: /muse/desconocida"));
    emisor.Floats("/muse/elements/horseshoe", {1, 1, 1, 1});
    EXPECT_TRUE(cliente.Esperar([](const TLeido& l) { return l.Senal == EDK_SENAL_BUENA; }));
}

// A sender back after an outage with other addresses only: the forward value
// from before the outage is not current and never drives.
TEST(OscProceso, TrasUnCorteElAvanceAntiguoNoVuelve)
{
    TProcesoEmulador emulador({"--puerto", "0", "--osc", "0"});
    const std::uint16_t puerto = emulador.Puerto();
    const std::uint16_t osc = PuertoOsc(emulador);
    ASSERT_NE(osc, 0) << emulador.Texto();
    TCliente cliente(puerto);
    ASSERT_TRUE(cliente.Conectado());
    TEmisor emisor(osc);
    emisor.Floats("/gedanko/avance", {1});
    ASSERT_TRUE(cliente.Esperar([](const TLeido& l) { return l.AccionExpresiva == ACC_EXP_APRETAR_DIENTES; }));
    ASSERT_TRUE(cliente.Esperar([](const TLeido& l) { return l.Senal == EDK_SIN_SENAL; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::vector<TLeido> tras;
    for (int i = 0; i < 20; ++i) {
        emisor.Floats("/gedanko/giro", {0});
        emisor.Entero("/gedanko/casco", 1);
        const std::vector<TLeido> parte = cliente.Todos(20);
        tras.insert(tras.end(), parte.begin(), parte.end());
    }
    ASSERT_TRUE(std::any_of(tras.begin(), tras.end(), [](const TLeido& l) { return l.Senal == EDK_SENAL_BUENA; }));
    for (const TLeido& l : tras)
        EXPECT_EQ(l.AccionExpresiva, unsigned(ACC_EXP_NEUTRAL)) << l.Tiempo;
    emisor.Floats("/gedanko/avance", {1});
    EXPECT_TRUE(cliente.Esperar([](const TLeido& l) { return l.AccionExpresiva == ACC_EXP_APRETAR_DIENTES; }));
}

// Two senders at once mix their commands: the second is named; --osc-desde
// keeps out every sender but one address.
TEST(OscProceso, OtroEmisorSeAvisaYOscDesdeLoDejaFuera)
{
    {
        TProcesoEmulador emulador({"--puerto", "0", "--osc", "0"});
        const std::uint16_t osc = PuertoOsc(emulador);
        ASSERT_NE(osc, 0) << emulador.Texto();
        TEmisor uno(osc);
        TEmisor otro(osc);
        uno.Floats("/gedanko/avance", {0.5F});
        otro.Floats("/gedanko/avance", {0.7F});
        EXPECT_TRUE(emulador.EsperarTexto("llegan datos OSC de otro emisor, 127.0.0.1:")) << emulador.Texto();
    }
    TProcesoEmulador emulador({"--puerto", "0", "--osc", "0", "--osc-desde", "127.0.0.2"});
    const std::uint16_t osc = PuertoOsc(emulador);
    ASSERT_NE(osc, 0) << emulador.Texto();
    TCliente cliente(emulador.Puerto());
    ASSERT_TRUE(cliente.Conectado());
    TEmisor emisor(osc);
    emisor.Floats("/gedanko/avance", {1});
    EXPECT_TRUE(emulador.EsperarTexto("se descartan los datos OSC de 127.0.0.1:")) << emulador.Texto();
    for (const TLeido& l : cliente.Todos(300))
        EXPECT_EQ(l.AccionExpresiva, unsigned(ACC_EXP_NEUTRAL));
}

// A file named like a built-in map in the current folder: the built-in one
// is used, and the start-up says so.
TEST(OscProceso, UnFicheroLlamadoComoUnMapaIncorporadoSeSenala)
{
    const std::string carpeta = testing::TempDir() + "mapa_osc" + std::to_string(::getpid());
    ASSERT_EQ(::mkdir(carpeta.c_str(), 0700), 0);
    const std::string fichero = carpeta + "/muse";
    std::FILE* f = std::fopen(fichero.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("/x 0 avance\n", f);
    std::fclose(f);
    char antes[PATH_MAX] = {};
    ASSERT_NE(::getcwd(antes, sizeof antes), nullptr);
    ASSERT_EQ(::chdir(carpeta.c_str()), 0);
    {
        TProcesoEmulador emulador({"--puerto", "0", "--osc", "0", "--mapa", "muse"});
        EXPECT_TRUE(emulador.EsperarTexto("(mapa: incorporado muse)")) << emulador.Texto();
        EXPECT_TRUE(emulador.EsperarTexto("para usar el fichero: --mapa ./muse")) << emulador.Texto();
    }
    {
        TProcesoEmulador emulador({"--puerto", "0", "--osc", "0", "--mapa", "./muse"});
        EXPECT_TRUE(emulador.EsperarTexto("(mapa: del fichero ./muse)")) << emulador.Texto();
    }
    EXPECT_EQ(::chdir(antes), 0);
    std::remove(fichero.c_str());
    ::rmdir(carpeta.c_str());
}

TEST(OscProceso, UnCambioSeSirveAlMomentoSinEsperarAlTic)
{
    // At one EmoState per second, a change still arrives within a fraction of it.
    TProcesoEmulador emulador({"--puerto", "0", "--osc", "0", "--tasa", "1"});
    const std::uint16_t puerto = emulador.Puerto();
    const std::uint16_t osc = PuertoOsc(emulador);
    ASSERT_NE(osc, 0) << emulador.Texto();
    TCliente cliente(puerto);
    ASSERT_TRUE(cliente.Conectado());
    ASSERT_TRUE(cliente.Esperar([](const TLeido&) { return true; }));
    TEmisor emisor(osc);
    const auto enviado = Reloj::now();
    emisor.Floats("/gedanko/retroceso", {0.7F});
    ASSERT_TRUE(cliente.Esperar([](const TLeido& l) { return l.AccionCognitiva == ACC_COG_TIRAR; }));
    EXPECT_LT(Reloj::now() - enviado, std::chrono::milliseconds(700));
}

TEST(OscProceso, GrabarYReproducirDaLosMismosEstados)
{
    const std::string ruta = testing::TempDir() + "grabacion_osc" + std::to_string(::getpid()) + ".esc";
    std::vector<TLeido> servidos;
    {
        TProcesoEmulador emulador({"--puerto", "0", "--osc", "0", "--grabar", ruta});
        const std::uint16_t puerto = emulador.Puerto();
        const std::uint16_t osc = PuertoOsc(emulador);
        ASSERT_NE(osc, 0) << emulador.Texto();
        TCliente cliente(puerto);
        ASSERT_TRUE(cliente.Conectado());
        TEmisor emisor(osc);
        const std::vector<float> avances = {0.2F, 0.9F, 0.0F, 0.6F, 0.3F};
        for (std::size_t i = 0; i < avances.size(); ++i) {
            emisor.Par("/gedanko/avance", avances[i], "/gedanko/giro", static_cast<float>(i) / 5);
            auto parte = cliente.Todos(120);
            servidos.insert(servidos.end(), parte.begin(), parte.end());
        }
        // A pause long enough to lose the signal, then Ctrl-C.
        auto parte = cliente.Todos(700);
        servidos.insert(servidos.end(), parte.begin(), parte.end());
        emulador.Senal(SIGINT);
        EXPECT_EQ(emulador.EsperarSalida(), 0);
    }
    ASSERT_FALSE(servidos.empty());

    TProcesoEmulador replay({"--puerto", "0", "--escenario", ruta});
    const std::uint16_t puerto = replay.Puerto();
    ASSERT_NE(puerto, 0) << replay.Texto();
    TCliente cliente(puerto);
    ASSERT_TRUE(cliente.Conectado());
    std::vector<TLeido> reproducidos;
    ASSERT_TRUE(cliente.Esperar(
        [&](const TLeido& l) {
            reproducidos.push_back(l);
            return l.Tiempo >= servidos.back().Tiempo;
        },
        nullptr, 20000));
    std::remove(ruta.c_str());

    // Every state served comes back, in order, with the same values at the same moment.
    ASSERT_GE(reproducidos.size(), servidos.size());
    for (std::size_t i = 0; i < servidos.size(); ++i) {
        EXPECT_TRUE(servidos[i].MismosValores(reproducidos[i])) << i;
        EXPECT_NEAR(servidos[i].Tiempo, reproducidos[i].Tiempo, 1e-4) << i;
    }
}
