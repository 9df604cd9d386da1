// The receiver's sketch itself, built for an ESP32 against a stand-in of the
// Arduino API (simulado/): no press at power-up on either active level, the
// ESP32 pin table (never the board's LED), frames driving and timing out,
// a stale backlog dropped, and over Wi-Fi the key, the refusal to start
// without one, bounded work under a flood and the return of a lost network.
// Built once per configuration; ENLACE_WIFI, NIVEL_ACTIVO and WIFI_UNIRSE
// come from the build, and CASO names the configuration's suite.
#include "Arduino.h"
#include "AyudaTrama.h"
#include "Pines.h"
#include "Receptor.h"

#include <gtest/gtest.h>

#include <cstdint>

void setup();
void loop();

// The sketch's state, which a power-up clears.
extern TReceptor receptor;
extern std::uint32_t ultimaPasada;
extern bool descartando;
extern bool detenido;
#if ENLACE_WIFI
extern bool wifiConectado;
extern std::uint32_t ultimoIntentoWifi;
#endif

namespace {

using simulado::Placa;

const TPines Pines = pines::Esp32;
const std::uint8_t Salidas[] = {Pines.Avance, Pines.Retroceso, Pines.Izquierda, Pines.Derecha};
constexpr int Activo = NIVEL_ACTIVO;

#ifdef CLAVE_ENLACE
const char* const TextoClave = CLAVE_ENLACE;
#else
const char* const TextoClave = "";
#endif

trama::TClave ClaveSketch()
{
    trama::TClave clave {};
    trama::LeerClave(TextoClave, clave);
    return clave;
}

class CASO : public testing::Test {
protected:
    void SetUp() override
    {
        simulado::Reiniciar();
        receptor = TReceptor();
        ultimaPasada = 0;
        descartando = false;
        detenido = false;
#if ENLACE_WIFI
        wifiConectado = false;
        ultimoIntentoWifi = 0;
#endif
        Placa().Ms = 1000;
        setup();
    }

    // Loop passes one a millisecond.
    void Correr(std::uint32_t ms)
    {
        for (std::uint32_t i = 0; i < ms; ++i) {
            loop();
            ++Placa().Ms;
        }
    }

    // A frame arrives now, over the sketch's link.
    void Llega(const Bytes& bytes)
    {
#if ENLACE_WIFI
        Placa().Datagramas.push_back(bytes);
#else
        Placa().Serie.insert(Placa().Serie.end(), bytes.begin(), bytes.end());
#endif
    }

    void Manda(std::uint8_t orden)
    {
        Llega(Trama(orden, ++FSecuencia, ClaveSketch()));
    }

    static int Nivel(std::uint8_t pin)
    {
        return Placa().Pines[pin].Nivel();
    }

    // The command the four outputs show now.
    static std::uint8_t Orden()
    {
        std::uint8_t orden = 0;
        for (std::uint8_t i = 0; i < 4; ++i)
            if (Nivel(Salidas[i]) == Activo)
                orden |= static_cast<std::uint8_t>(1U << i);
        return orden;
    }

    static bool AlgunaVezActiva()
    {
        for (std::uint8_t pin : Salidas)
            for (const simulado::TCambio& cambio : Placa().Pines[pin].Historia)
                if (cambio.Nivel == Activo)
                    return true;
        return false;
    }

    std::uint32_t FSecuencia = 500;
};

#if !ENLACE_WIFI

constexpr int Inactivo = NIVEL_ACTIVO == HIGH ? LOW : HIGH;

// Every output is driven at its inactive level from the moment it becomes
// an output, on core 3 where a write before pinMode is lost.
TEST_F(CASO, ArrancaSinPulsarNadaYConElVigilanteArmado)
{
    for (std::uint8_t pin : Salidas) {
        ASSERT_FALSE(Placa().Pines[pin].Historia.empty()) << int(pin);
        EXPECT_EQ(Nivel(pin), Inactivo) << int(pin);
    }
    EXPECT_EQ(Nivel(Pines.Enlace), LOW);
    Correr(1000);
    EXPECT_FALSE(AlgunaVezActiva());
    EXPECT_TRUE(Placa().VigilanteArmado);
    EXPECT_GE(Placa().Alimentado, 1000);
}

// The board's own LED (GPIO 2 on a DevKit V1) is no output, and all-off
// frames press nothing while the link LED lights.
TEST_F(CASO, TramasApagadasNoPulsanNadaYEnciendenElLed)
{
    for (int i = 0; i < 5; ++i) {
        Manda(0);
        Correr(trama::IntervaloLatidoMs);
    }
    EXPECT_FALSE(AlgunaVezActiva());
    EXPECT_TRUE(Placa().Pines[LED_BUILTIN].Historia.empty());
    EXPECT_EQ(Nivel(Pines.Enlace), HIGH);
}

TEST_F(CASO, UnaTramaConduceHastaLos300ms)
{
    Correr(10);
    Manda(trama::BitAvance | trama::BitDerecha);
    const std::uint32_t llegada = Placa().Ms;
    Correr(1);
    EXPECT_EQ(Orden(), trama::BitAvance | trama::BitDerecha);
    // The last pass of this run comes 299 ms after the frame.
    Correr(trama::CaducidadMs - 1);
    EXPECT_EQ(Orden(), trama::BitAvance | trama::BitDerecha);
    EXPECT_EQ(Placa().Ms, llegada + trama::CaducidadMs);
    Correr(1);
    EXPECT_EQ(Orden(), 0);
    EXPECT_EQ(Nivel(Pines.Enlace), LOW);
}

// The sketch was held up (a long interrupt, a slow library call) while
// frames piled up: they are dropped, and the next fresh one drives.
TEST_F(CASO, UnAtrasoTiraLoQueEsperaba)
{
    Correr(10);
    for (int i = 0; i < 5; ++i)
        Manda(trama::BitAvance);
    Placa().Ms += trama::RetrasoMaximoLecturaMs + 1;
    Correr(5);
    EXPECT_EQ(Orden(), 0);
    EXPECT_FALSE(AlgunaVezActiva());
    Manda(trama::BitRetroceso);
    Correr(1);
    EXPECT_EQ(Orden(), trama::BitRetroceso);
}

#elif !defined(WIFI_CLAVE_PRUEBA)

TEST_F(CASO, SinClaveNoAbreElPuntoDeAccesoNiConduce)
{
    EXPECT_FALSE(Placa().PuntoDeAcceso);
    EXPECT_FALSE(Placa().UdpAbierto);
    EXPECT_NE(Placa().SerieEscrita.find("ponga WifiClave y ClaveEnlace"), std::string::npos);
    Manda(trama::BitAvance);
    Correr(100);
    EXPECT_FALSE(AlgunaVezActiva());
    EXPECT_GE(Placa().Alimentado, 100);
}

#else

TEST_F(CASO, SoloTramasEnterasConLaClaveConducen)
{
    Correr(10);
    Llega(Trama(trama::BitAvance, 1000)); // no key
    Llega(Trama(trama::BitAvance, 1001, {{1, 2, 3}}));
    const Bytes avance = Trama(trama::BitAvance, 1002, ClaveSketch());
    Llega(Bytes(avance.begin(), avance.begin() + 4));
    Llega(Bytes(avance.begin() + 4, avance.end()));
    Correr(10);
    EXPECT_FALSE(AlgunaVezActiva());
    Llega(avance);
    Correr(1);
    EXPECT_EQ(Orden(), trama::BitAvance);
    // Only the frame taken is answered, with its number and the key.
    ASSERT_EQ(Placa().Respuestas.size(), 1U);
    const Bytes& acuse = Placa().Respuestas[0];
    ASSERT_EQ(acuse.size(), trama::LongitudTrama);
    EXPECT_TRUE(trama::ComprobarAcuse(ClaveSketch(), acuse.data()));
    EXPECT_EQ(trama::LeerSecuencia(acuse.data()), 1002U);
}

// Replays of a valid frame, twenty a millisecond: each pass reads a few,
// and the outputs still go off 300 ms after the last new frame.
TEST_F(CASO, UnaInundacionNoRetrasaLaCaducidad)
{
    Correr(10);
    const Bytes avance = Trama(trama::BitAvance, 2000, ClaveSketch());
    Llega(avance);
    const std::uint32_t llegada = Placa().Ms;
    while (Placa().Ms < llegada + trama::CaducidadMs + 5) {
        for (int i = 0; i < 20; ++i)
            Llega(avance);
        const std::size_t antes = Placa().Datagramas.size();
        Correr(1);
        ASSERT_GE(Placa().Datagramas.size(), antes - 4);
        if (Placa().Ms <= llegada + trama::CaducidadMs) {
            ASSERT_EQ(Orden(), Placa().Ms - 1 < llegada + trama::CaducidadMs ? trama::BitAvance : 0)
                << Placa().Ms - llegada;
        }
    }
    EXPECT_EQ(Orden(), 0);
}

#if WIFI_UNIRSE
// Station mode: a dropped network turns everything off at once, the board
// tries to join again every few seconds, and frames drive once it is back.
TEST_F(CASO, LaRedPerdidaApagaYSeReintenta)
{
    Correr(10);
    EXPECT_NE(Placa().SerieEscrita.find("udp:192.168.1.57:4210"), std::string::npos);
    Manda(trama::BitIzquierda);
    Correr(1);
    ASSERT_EQ(Orden(), trama::BitIzquierda);
    Placa().WifiConectado = false;
    Correr(1);
    EXPECT_EQ(Orden(), 0);
    const int intentos = Placa().WifiIntentos;
    Correr(12000);
    EXPECT_GE(Placa().WifiIntentos, intentos + 2);
    Manda(trama::BitIzquierda);
    Correr(1);
    EXPECT_EQ(Orden(), 0) << "no frames while the network is gone";
    Placa().WifiConectado = true;
    Correr(1);
    Manda(trama::BitIzquierda);
    Correr(1);
    EXPECT_EQ(Orden(), trama::BitIzquierda);
}
#else
TEST_F(CASO, AbreElPuntoDeAccesoYDiceSuDireccion)
{
    EXPECT_TRUE(Placa().PuntoDeAcceso);
    EXPECT_NE(Placa().SerieEscrita.find("gedanko_receptor: udp:192.168.4.1:4210"), std::string::npos);
}
#endif

#endif

} // namespace
