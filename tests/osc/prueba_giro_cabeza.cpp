// Head turns from a generated Muse gyro stream (yaw rate at 52 Hz with sensor
// noise and offset), served by the emulator's OSC input and client session on
// a test clock, read as the program reads the gyro and fed to the real drive
// decision: every turn toggles the latch once, noise and drift never do.
#include "EntradaOsc.h"
#include "EscalasCasco.h"
#include "Escenario.h"
#include "EstadoConduccion.h"
#include "PaqueteOsc.h"
#include "Protocolo.h"
#include "Sesion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double Tasa = 32; // the engine's steady rate
constexpr double MuestrasGiro = 52; // the headband's gyro rate
constexpr double Paso = 0.001; // one pass of the server's loop
constexpr const char* Reposo = "0 senal 2\n0 contactos 4\n0 bateria 5 5\n0 alta 0\n";

enum class TForma { Caja, Campana };

// One head movement: a constant rate, or a bell that peaks at the rate.
struct TMovimiento {
    double Inicio;
    double Duracion;
    double Velocidad; // degrees a second, positive to the right
    TForma Forma;

    double En(double t) const
    {
        const double x = (t - Inicio) / Duracion;
        if (x < 0 || x >= 1)
            return 0;
        if (Forma == TForma::Caja)
            return Velocidad;
        const double s = std::sin(std::numbers::pi * x);
        return Velocidad * s * s;
    }
};

// The program's reading of one EmoState's gyro change: a turn when it is
// beyond the limit and grew since the last reading, and its magnitude.
class TLectorGiro {
public:
    TLectura Leer(int giroX)
    {
        TLectura l;
        if (std::abs(giroX) > LimiteGiro) {
            if (giroX > 0 && giroX > FAnterior)
                l.Giro = giroDerecha;
            else if (giroX < 0 && giroX < FAnterior)
                l.Giro = giroIzquierda;
        }
        FAnterior = giroX;
        l.MagnitudGiro = static_cast<std::uint32_t>(
            std::min(std::fabs(std::nearbyint(double(giroX) / GiroPorMagnitud)), double(EscalaLectura)));
        return l;
    }

private:
    int FAnterior = 0;
};

// What the drive decision made of a served stream.
// The program's reading of the detected drive: pull backward, else clench
// forward, each with its power 0..10.
void Detectar(const edk::TEstadoEmo& e, TLectura& l)
{
    const auto potencia = [](float p) { return static_cast<std::uint32_t>(std::nearbyint(p * EscalaLectura)); };
    if (e.AccionCognitiva == ACC_COG_TIRAR) {
        l.Direccion = dirRetroceso;
        l.Potencia = potencia(e.PotenciaCognitiva);
    } else if (e.AccionExpresiva == ACC_EXP_APRETAR_DIENTES) {
        l.Direccion = dirAvance;
        l.Potencia = potencia(e.PotenciaExpresiva);
    } else {
        l.Direccion = dirNeutral;
    }
}

struct TConduccion {
    std::vector<TGiro> Cambios; // the latched turn after each latch change
    std::vector<TDireccion> Direcciones; // each change of the direction sent
    double UltimoEstado = -1; // time of the last EmoState served
};

// The packets a stream sends at 't', the moment of one server pass.
using TFlujo = std::function<void(double t, std::vector<std::vector<unsigned char>>& paquetes)>;

// Plays 'duracion' seconds of an OSC stream through the emulator with the
// map given, into the drive decision at its default thresholds.
TConduccion Conducir(const char* nombreMapa, const TFlujo& flujo, double duracion)
{
    TConduccion resultado;
    emulador::TMapaOsc mapa;
    edk::TEscenario reposo;
    if (!mapa.Cargar(nombreMapa) || !reposo.Leer(Reposo)) {
        ADD_FAILURE() << mapa.Error() << reposo.Error();
        return resultado;
    }
    emulador::TEntradaOsc entrada(mapa, 0);
    emulador::TEstadoVivo vivo;
    emulador::TSesion sesion(reposo, Tasa, false);
    TEstadoConduccion decision;
    TLectorGiro lector;
    std::string salida;
    std::vector<std::vector<unsigned char>> paquetes;
    const auto pasos = static_cast<long>(duracion / Paso);
    for (long k = 0; k <= pasos; ++k) {
        const double t = static_cast<double>(k) * Paso;
        bool inmediato = false;
        paquetes.clear();
        flujo(t, paquetes);
        for (const std::vector<unsigned char>& p : paquetes)
            inmediato = entrada.Paquete(p.data(), p.size(), t, vivo) || inmediato;
        inmediato = entrada.Revisar(t, vivo) || inmediato;
        for (const emulador::TAccionOrden accion : entrada.TomarAcciones())
            sesion.Anunciar(accion, salida);
        sesion.Avanzar(t, vivo, salida, inmediato);
        std::size_t inicio = 0;
        for (std::size_t fin = salida.find('\n'); fin != std::string::npos; fin = salida.find('\n', inicio)) {
            edk::TEvento e;
            if (edk::InterpretarLinea(std::string_view(salida).substr(inicio, fin - inicio), e)
                && e.Tipo == EE_EmoStateUpdated) {
                const bool fijado = decision.GiroFijado;
                TLectura l = lector.Leer(e.Estado.GiroX);
                Detectar(e.Estado, l);
                decision.LecturaCompleta(l, UmbralPorDefecto, UmbralPorDefecto);
                if (decision.GiroFijado != fijado)
                    resultado.Cambios.push_back(decision.DireccionFijada);
                const TDireccion enviada = decision.Salidas().DireccionEnviada;
                if (resultado.Direcciones.empty() || resultado.Direcciones.back() != enviada)
                    resultado.Direcciones.push_back(enviada);
                resultado.UltimoEstado = t;
            }
            inicio = fin + 1;
        }
        salida.clear();
    }
    return resultado;
}

// A headband's yaw at 52 Hz: the movements given on a noisy, offset sensor.
TFlujo Cinta(const std::vector<TMovimiento>& movimientos, double sesgo, double ruido, unsigned semilla)
{
    auto azar = std::make_shared<std::mt19937>(semilla);
    auto sensor = std::make_shared<std::normal_distribution<double>>(sesgo, ruido);
    auto muestra = std::make_shared<double>(0);
    return [=](double t, std::vector<std::vector<unsigned char>>& paquetes) {
        if (t < *muestra)
            return;
        double velocidad = (*sensor)(*azar);
        for (const TMovimiento& m : movimientos)
            velocidad += m.En(t);
        paquetes.push_back(MensajeFloats("/muse/gyro", {0.5F, -0.3F, static_cast<float>(velocidad)}));
        *muestra += 1 / MuestrasGiro;
    };
}

struct TGiroGenerado {
    TForma Forma;
    double Duracion;
    double Velocidad;
};

std::string Nombre(const TGiroGenerado& g)
{
    return std::string(g.Forma == TForma::Caja ? "Caja" : "Campana") + std::to_string(std::lround(g.Duracion * 1000))
           + "ms" + std::to_string(std::lround(g.Velocidad)) + "gps";
}

void PrintTo(const TGiroGenerado& g, std::ostream* os)
{
    *os << Nombre(g);
}

class GiroCabeza : public testing::TestWithParam<TGiroGenerado> { };

} // namespace

// Still, a turn, held; back to the centre (the other side: no change); the
// same turn again releases; held. To each side, on a noisy, offset sensor.
TEST_P(GiroCabeza, CadaGiroCambiaElEngancheUnaSolaVez)
{
    const TGiroGenerado g = GetParam();
    for (const double lado : {1.0, -1.0}) {
        const double t1 = 2;
        const double t2 = t1 + g.Duracion + 1.5;
        const double t3 = t2 + g.Duracion + 1.5;
        const std::vector<TMovimiento> giros = {
            {t1, g.Duracion, lado * g.Velocidad, g.Forma},
            {t2, g.Duracion, -lado * g.Velocidad, g.Forma},
            {t3, g.Duracion, lado * g.Velocidad, g.Forma},
        };
        const TGiro giro = lado > 0 ? giroDerecha : giroIzquierda;
        for (const double sesgo : {0.0, 3.0}) {
            const TConduccion c = Conducir("muse", Cinta(giros, lado * sesgo, 2.5, 7), t3 + g.Duracion + 1.5);
            EXPECT_EQ(c.Cambios, (std::vector<TGiro> {giro, giroNinguno})) << "lado " << lado << " sesgo " << sesgo;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Giros, GiroCabeza,
                         testing::Values(TGiroGenerado {TForma::Caja, 0.3, 60}, TGiroGenerado {TForma::Caja, 0.3, 200},
                                         TGiroGenerado {TForma::Caja, 0.5, 90}, TGiroGenerado {TForma::Caja, 0.5, 120},
                                         TGiroGenerado {TForma::Caja, 0.8, 60}, TGiroGenerado {TForma::Caja, 0.8, 200},
                                         TGiroGenerado {TForma::Campana, 0.3, 60},
                                         TGiroGenerado {TForma::Campana, 0.3, 200},
                                         TGiroGenerado {TForma::Campana, 0.5, 120},
                                         TGiroGenerado {TForma::Campana, 0.8, 60},
                                         TGiroGenerado {TForma::Campana, 0.8, 200}),
                         [](const testing::TestParamInfo<TGiroGenerado>& caso) { return Nombre(caso.param); });

namespace {

struct TQuietud {
    const char* Nombre;
    double Sesgo;
    double Ruido;
    bool Girada; // held after a turn of 35 degrees
};

void PrintTo(const TQuietud& q, std::ostream* os)
{
    *os << q.Nombre;
}

class CabezaQuieta : public testing::TestWithParam<TQuietud> { };

} // namespace

// A minute with the head still, held turned, or on a drifting sensor: no
// latch change beyond the one turn.
TEST_P(CabezaQuieta, UnMinutoSinCambiosDelEnganche)
{
    const TQuietud q = GetParam();
    std::vector<TMovimiento> giros;
    if (q.Girada)
        giros.push_back({2, 0.5, 70, TForma::Caja});
    for (const unsigned semilla : {1U, 2U}) {
        const TConduccion c = Conducir("muse", Cinta(giros, q.Sesgo, q.Ruido, semilla), 62);
        EXPECT_EQ(c.Cambios, q.Girada ? std::vector<TGiro> {giroDerecha} : std::vector<TGiro> {}) << semilla;
    }
}

INSTANTIATE_TEST_SUITE_P(Casos, CabezaQuieta,
                         testing::Values(TQuietud {"Quieta", 0, 2.5, false}, TQuietud {"Girada", 0, 2.5, true},
                                         TQuietud {"GiradaRuidoBajo", 0, 1.5, true},
                                         TQuietud {"DerivaDerecha", 5, 2.5, false},
                                         TQuietud {"DerivaIzquierda", -5, 2.5, false},
                                         TQuietud {"GiradaConDeriva", 5, 2.5, true}),
                         [](const testing::TestParamInfo<TQuietud>& caso) { return std::string(caso.param.Nombre); });

// The OpenBCI GUI's stream: EMG of eight channels and the accelerometer at
// their rates, focus and band powers. A clench on channel 0 drives forward,
// focus backward, a tilt to the right latches a right turn and a second one
// releases it; without EMG the headset is off.
TEST(OpenBci, ApretarEnfocarEInclinarConducen)
{
    const auto flujo = [](double t, std::vector<std::vector<unsigned char>>& paquetes) {
        const long ms = std::lround(t * 1000);
        const bool emg = t < 9.0;
        if (emg && ms % 20 == 0)
            for (int canal = 0; canal < 8; ++canal) {
                const bool apretando = canal == 0 && t >= 2.0 && t < 3.0;
                paquetes.push_back(MensajeFloats("/openbci/emg/" + std::to_string(canal),
                                                 {apretando ? 0.8F : 0.1F + 0.01F * static_cast<float>(ms % 7)}));
            }
        if (ms % 40 == 0) {
            const bool inclinada = (t >= 4.0 && t < 5.0) || (t >= 6.0 && t < 7.0);
            paquetes.push_back(MensajeFloats("/openbci/accelerometer/x", {inclinada ? 0.45F : 0.02F}));
            paquetes.push_back(MensajeFloats("/openbci/accelerometer/y", {0.01F}));
            paquetes.push_back(MensajeFloats("/openbci/accelerometer/z", {0.98F}));
            lo_message foco = lo_message_new();
            lo_message_add_int32(foco, t >= 8.0 && t < 8.5 ? 1 : 0);
            paquetes.push_back(Serializar("/openbci/focus", foco));
        }
        if (ms % 100 == 0)
            for (int canal = 0; canal < 8; ++canal)
                paquetes.push_back(MensajeFloats("/openbci/band-power/" + std::to_string(canal), {1, 2, 3, 4, 5}));
    };
    const TConduccion c = Conducir("openbci", flujo, 11);
    EXPECT_EQ(c.Direcciones, (std::vector<TDireccion> {dirNinguna, dirAvance, dirNinguna, dirRetroceso, dirNinguna}));
    EXPECT_EQ(c.Cambios, (std::vector<TGiro> {giroDerecha, giroNinguno}));
    // Served while EMG arrives, and for the second after.
    EXPECT_NEAR(c.UltimoEstado, 10.0, 0.05);
}
