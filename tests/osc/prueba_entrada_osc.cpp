// The OSC message handler on a clock the test moves: what each built-in map
// makes of real packets, pulses held and released, the turn integrated, the
// freshness watch, and bad input that changes nothing.
#include "EntradaOsc.h"
#include "PaqueteOsc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

using emulador::TEntradaOsc;
using emulador::TEstadoVivo;
using emulador::TMapaOsc;

namespace {

class EntradaOsc : public testing::Test {
protected:
    void Usar(const std::string& mapa)
    {
        ASSERT_TRUE(FMapa.Cargar(mapa)) << FMapa.Error();
        FEntrada = std::make_unique<TEntradaOsc>(FMapa, 0);
    }

    bool Recibir(const std::vector<unsigned char>& paquete, double t)
    {
        return FEntrada->Paquete(paquete.data(), paquete.size(), t, FVivo);
    }

    // The EmoState a client gets: the neutral start with the live state laid over it.
    edk::TEstadoEmo Servido() const
    {
        edk::TEstadoEmo e;
        e.Contactos.fill(4);
        FVivo.Aplicar(e);
        return e;
    }

    TMapaOsc FMapa;
    std::unique_ptr<TEntradaOsc> FEntrada;
    TEstadoVivo FVivo;
};

} // namespace

TEST_F(EntradaOsc, GenericoLlevaCadaValorASuCampo)
{
    Usar("generico");
    // A new detected action is served at once; the rest waits for the next
    // steady EmoState.
    EXPECT_TRUE(Recibir(MensajeFloats("/gedanko/avance", {0.8F}), 0.1));
    EXPECT_TRUE(Recibir(MensajeFloats("/gedanko/retroceso", {0.4F}), 0.1));
    EXPECT_FALSE(Recibir(MensajeFloats("/gedanko/giro", {-0.5F}), 0.1));
    lo_message contactos = lo_message_new();
    for (int i = 0; i < edk::NumCanales; ++i)
        lo_message_add_int32(contactos, i % 5);
    EXPECT_FALSE(Recibir(Serializar("/gedanko/contactos", contactos), 0.1));
    lo_message bateria = lo_message_new();
    lo_message_add_int32(bateria, 3);
    lo_message_add_int32(bateria, 4);
    EXPECT_FALSE(Recibir(Serializar("/gedanko/bateria", bateria), 0.1));

    const edk::TEstadoEmo e = Servido();
    EXPECT_EQ(e.AccionExpresiva, unsigned(ACC_EXP_APRETAR_DIENTES));
    EXPECT_FLOAT_EQ(e.PotenciaExpresiva, 0.8F);
    EXPECT_EQ(e.AccionCognitiva, unsigned(ACC_COG_TIRAR));
    EXPECT_FLOAT_EQ(e.PotenciaCognitiva, 0.4F);
    EXPECT_EQ(e.GiroX, -150); // half of the full turn 10 * 30
    for (int i = 0; i < edk::NumCanales; ++i)
        EXPECT_EQ(e.Contactos[std::size_t(i)], i % 5);
    EXPECT_EQ(e.Bateria, 3);
    EXPECT_EQ(e.BateriaMax, 4);

    // Under the turn's threshold the head is still; powers stay within 0..1.
    EXPECT_FALSE(Recibir(MensajeFloats("/gedanko/giro", {0.05F}), 0.2));
    EXPECT_FALSE(Recibir(MensajeFloats("/gedanko/avance", {7.0F}), 0.2));
    EXPECT_EQ(Servido().GiroX, 0);
    EXPECT_FLOAT_EQ(Servido().PotenciaExpresiva, 1.0F);

    lo_message casco = lo_message_new();
    lo_message_add_int32(casco, 0);
    EXPECT_TRUE(Recibir(Serializar("/gedanko/casco", casco), 0.3));
    EXPECT_FALSE(FVivo.CascoPuesto());
    EXPECT_EQ(FEntrada->TomarAcciones(), std::vector<emulador::TAccionOrden> {emulador::aoQuitarCasco});
}

TEST_F(EntradaOsc, ApretarEnPulsoSeSostieneYSeSuelta)
{
    Usar("muse");
    lo_message pulso = lo_message_new();
    lo_message_add_int32(pulso, 1);
    const auto apretar = Serializar("/muse/elements/jaw_clench", pulso);
    ASSERT_TRUE(Recibir(apretar, 1.0));
    EXPECT_FLOAT_EQ(Servido().PotenciaExpresiva, 1.0F);
    EXPECT_FALSE(FEntrada->Revisar(1.29, FVivo));
    // A second pulse within the hold renews it.
    EXPECT_FALSE(Recibir(apretar, 1.2));
    EXPECT_FALSE(FEntrada->Revisar(1.45, FVivo));
    EXPECT_EQ(Servido().AccionExpresiva, unsigned(ACC_EXP_APRETAR_DIENTES));
    EXPECT_TRUE(FEntrada->Revisar(1.5, FVivo));
    EXPECT_EQ(Servido().AccionExpresiva, unsigned(ACC_EXP_NEUTRAL));
    EXPECT_FLOAT_EQ(Servido().PotenciaExpresiva, 0.0F);
}

TEST_F(EntradaOsc, LaVelocidadDelGiroSeSumaEnElMovimientoSinServirEstados)
{
    Usar("muse");
    // 30 degrees a second for half a second: 15 degrees; no sample asks for
    // an EmoState of its own.
    for (int i = 0; i <= 10; ++i)
        EXPECT_FALSE(Recibir(MensajeFloats("/muse/gyro", {0, 0, 30}), 1.0 + 0.05 * i));
    ASSERT_TRUE(FVivo.Movimiento());
    EXPECT_NEAR(FVivo.Movimiento()->Grados, 15, 1e-6);
    EXPECT_DOUBLE_EQ(FVivo.Movimiento()->Banda, 12); // the map's noise band
    // The last rate counts up to the present, for half a second at most.
    FEntrada->Revisar(1.6, FVivo);
    EXPECT_NEAR(FVivo.Movimiento()->Grados, 18, 1e-6);
    FEntrada->Revisar(3.0, FVivo);
    EXPECT_NEAR(FVivo.Movimiento()->Grados, 30, 1e-6);
}

// The channels with no sensor show the lowest usable quality, so the four
// real sensors alone open or close Gedanko's contacts gate.
TEST_F(EntradaOsc, LaHerraduraIluminaLosElectrodosCercanosYElRestoEsUtilizable)
{
    Usar("muse");
    Recibir(MensajeFloats("/muse/elements/horseshoe", {1, 2, 4, 3}), 0.1);
    std::array<int, edk::NumCanales> esperado {};
    esperado.fill(2);
    esperado[7] = esperado[8] = 4; // TP9: T7, P7
    esperado[3] = esperado[4] = 3; // AF7: AF3, F7
    esperado[16] = esperado[15] = 1; // AF8: AF4, F8
    esperado[12] = esperado[11] = 1; // TP10: T8, P8; 3 is bad in the older app
    EXPECT_EQ(Servido().Contactos, esperado);
}

// The battery gauge shows a level of (maximum - 1): the app's percentage to
// the nearest tenth, never beyond full.
TEST_F(EntradaOsc, LaBateriaMuestraElPorcentajeDeLaApp)
{
    Usar("muse");
    const std::vector<std::pair<float, int>> casos
        = {{10000, 100}, {9000, 90}, {8750, 90}, {5000, 50}, {12000, 100}, {0, 0}, {-50, 0}};
    for (const auto& [carga, porcentaje] : casos) {
        Recibir(MensajeFloats("/muse/batt", {carga, 0, 0, 0}), 0.1);
        const edk::TEstadoEmo e = Servido();
        ASSERT_GT(e.BateriaMax, 1) << carga;
        EXPECT_LE(e.Bateria, e.BateriaMax) << carga;
        EXPECT_EQ(std::min(e.Bateria, e.BateriaMax - 1) * 100 / (e.BateriaMax - 1), porcentaje) << carga;
    }
}

TEST_F(EntradaOsc, SinMensajesDurante500msNoHaySenalYVuelveConLosDatos)
{
    Usar("generico");
    ASSERT_TRUE(Recibir(MensajeFloats("/gedanko/avance", {0.5F}), 1.0));
    EXPECT_FALSE(FEntrada->Revisar(1.49, FVivo));
    EXPECT_TRUE(FEntrada->Fresca());
    // An address the map does not know is no data.
    Recibir(MensajeFloats("/otra/cosa", {1}), 1.3);
    FEntrada->TomarAvisos();
    EXPECT_TRUE(FEntrada->Revisar(1.5, FVivo));
    EXPECT_EQ(Servido().Senal, EDK_SIN_SENAL);
    EXPECT_EQ(FEntrada->TomarAvisos().size(), 1u);
    EXPECT_FALSE(FEntrada->Revisar(3.0, FVivo));
    EXPECT_TRUE(FEntrada->TomarAvisos().empty()); // said once

    EXPECT_TRUE(Recibir(MensajeFloats("/gedanko/avance", {0.5F}), 3.1));
    EXPECT_EQ(Servido().Senal, EDK_SENAL_BUENA);
    const auto avisos = FEntrada->TomarAvisos();
    ASSERT_EQ(avisos.size(), 1u);
    EXPECT_EQ(avisos[0], "vuelven a llegar datos OSC");
}

// After an outage no drive value is current: each waits for its own address.
TEST_F(EntradaOsc, TrasUnCorteCadaValorEsperaASuPropiaDireccion)
{
    Usar("generico");
    Recibir(MensajeFloats("/gedanko/avance", {1}), 1.0);
    Recibir(MensajeFloats("/gedanko/retroceso", {0.7F}), 1.0);
    Recibir(MensajeFloats("/gedanko/giro", {0.8F}), 1.0);
    EXPECT_TRUE(FEntrada->Revisar(1.5, FVivo));
    lo_message casco = lo_message_new();
    lo_message_add_int32(casco, 1);
    Recibir(Serializar("/gedanko/casco", casco), 3.0);
    EXPECT_EQ(Servido().Senal, EDK_SENAL_BUENA);
    EXPECT_EQ(Servido().AccionExpresiva, unsigned(ACC_EXP_NEUTRAL));
    EXPECT_EQ(Servido().AccionCognitiva, unsigned(ACC_COG_NEUTRAL));
    EXPECT_EQ(Servido().GiroX, 0);
    EXPECT_TRUE(Recibir(MensajeFloats("/gedanko/avance", {1}), 3.1));
    EXPECT_EQ(Servido().AccionExpresiva, unsigned(ACC_EXP_APRETAR_DIENTES));
}

TEST_F(EntradaOsc, UnBundleAplicaCadaMensaje)
{
    Usar("generico");
    lo_bundle b = lo_bundle_new(LO_TT_IMMEDIATE);
    lo_message a = lo_message_new();
    lo_message_add_float(a, 0.6F);
    lo_message g = lo_message_new();
    lo_message_add_float(g, 1.0F);
    lo_bundle_add_message(b, "/gedanko/avance", a);
    lo_bundle_add_message(b, "/gedanko/giro", g);
    std::size_t tamano = 0;
    void* datos = lo_bundle_serialise(b, nullptr, &tamano);
    EXPECT_TRUE(FEntrada->Paquete(datos, tamano, 0.1, FVivo));
    std::free(datos);
    lo_bundle_free_recursive(b);
    EXPECT_FLOAT_EQ(Servido().PotenciaExpresiva, 0.6F);
    EXPECT_EQ(Servido().GiroX, 300);
}

namespace {

struct TEntradaMala {
    const char* Nombre;
    std::vector<unsigned char> (*Paquete)();
    const char* Aviso;
};

std::vector<unsigned char> TipoEquivocado()
{
    lo_message m = lo_message_new();
    lo_message_add_string(m, "mucho");
    return Serializar("/gedanko/avance", m);
}

std::vector<unsigned char> FaltaArgumento()
{
    lo_message m = lo_message_new();
    lo_message_add_int32(m, 3);
    return Serializar("/gedanko/bateria", m);
}

std::vector<unsigned char> NoFinito()
{
    return MensajeFloats("/gedanko/avance", {NAN});
}

// A bundle of the elements given, as bytes.
std::vector<unsigned char> Bundle(const std::vector<std::vector<unsigned char>>& elementos)
{
    std::vector<unsigned char> p(16, 0);
    std::memcpy(p.data(), "#bundle", 8);
    p[15] = 1; // time tag: immediately
    for (const std::vector<unsigned char>& e : elementos) {
        const auto n = static_cast<std::uint32_t>(e.size());
        p.insert(p.end(), {static_cast<unsigned char>(n >> 24), static_cast<unsigned char>(n >> 16),
                           static_cast<unsigned char>(n >> 8), static_cast<unsigned char>(n)});
        p.insert(p.end(), e.begin(), e.end());
    }
    return p;
}

std::vector<unsigned char> BundleConUnElementoMalo()
{
    return Bundle({MensajeFloats("/gedanko/avance", {0.5F}), TipoEquivocado()});
}

std::vector<unsigned char> BundleDemasiadoAnidado()
{
    std::vector<unsigned char> p = MensajeFloats("/gedanko/avance", {0.5F});
    for (int i = 0; i < 9; ++i)
        p = Bundle({p});
    return p;
}

std::vector<unsigned char> BundleDeDemasiadosMensajes()
{
    return Bundle(std::vector<std::vector<unsigned char>>(129, MensajeFloats("/gedanko/avance", {0.5F})));
}

std::vector<unsigned char> BundleDemasiadoGrande()
{
    std::vector<unsigned char> p(emulador::TamanoMaximoPaqueteOsc + 4, 0);
    std::memcpy(p.data(), "#bundle", 8);
    return p;
}

std::vector<unsigned char> Malformado()
{
    std::vector<unsigned char> p = MensajeFloats("/gedanko/avance", {0.5F});
    p.resize(p.size() - 2); // the float cut short
    return p;
}

std::vector<unsigned char> BundleCortado()
{
    std::vector<unsigned char> p(20, 0);
    std::memcpy(p.data(), "#bundle", 8);
    p[19] = 64; // an element longer than what follows
    return p;
}

// Cases print as their name.
void PrintTo(const TEntradaMala& caso, std::ostream* os)
{
    *os << caso.Nombre;
}

class EntradaOscMala : public EntradaOsc, public testing::WithParamInterface<TEntradaMala> { };

} // namespace

TEST_P(EntradaOscMala, NoCambiaNadaYAvisaComoMuchoUnaVezPorSegundo)
{
    Usar("generico");
    const TEstadoVivo antes = FVivo;
    const std::vector<unsigned char> paquete = GetParam().Paquete();
    EXPECT_FALSE(Recibir(paquete, 0.1));
    EXPECT_TRUE(FVivo == antes);
    const auto avisos = FEntrada->TomarAvisos();
    ASSERT_EQ(avisos.size(), 1u);
    EXPECT_NE(avisos[0].find(GetParam().Aviso), std::string::npos) << avisos[0];
    EXPECT_FALSE(Recibir(paquete, 0.6));
    EXPECT_TRUE(FEntrada->TomarAvisos().empty());
    EXPECT_FALSE(Recibir(paquete, 1.1));
    EXPECT_EQ(FEntrada->TomarAvisos().size(), 1u);
    // Bad input is no data: the freshness watch is not fed by it.
    EXPECT_TRUE(FEntrada->Revisar(1.2, FVivo));
    EXPECT_FALSE(FEntrada->Fresca());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, EntradaOscMala,
    testing::Values(TEntradaMala {"TipoEquivocado", TipoEquivocado, "es de tipo 's', no un número"},
                    TEntradaMala {"FaltaArgumento", FaltaArgumento, "falta el argumento 1"},
                    TEntradaMala {"NoFinito", NoFinito, "no es un número finito"},
                    TEntradaMala {"BundleDemasiadoGrande", BundleDemasiadoGrande, "demasiado grande (8196 bytes"},
                    TEntradaMala {"Malformado", Malformado, "paquete OSC mal formado"},
                    TEntradaMala {"BundleCortado", BundleCortado, "elemento de bundle con tamaño no válido"},
                    TEntradaMala {"BundleConUnElementoMalo", BundleConUnElementoMalo, "se descarta el paquete"},
                    TEntradaMala {"BundleDemasiadoAnidado", BundleDemasiadoAnidado, "demasiado anidado"},
                    TEntradaMala {"BundleDeDemasiadosMensajes", BundleDeDemasiadosMensajes, "más de 128 mensajes"}),
    [](const testing::TestParamInfo<TEntradaMala>& caso) { return std::string(caso.param.Nombre); });

TEST_F(EntradaOsc, CadaDireccionTieneSuPropioLimiteDeAvisos)
{
    Usar("generico");
    Recibir(TipoEquivocado(), 0.1);
    Recibir(FaltaArgumento(), 0.2);
    Recibir(TipoEquivocado(), 0.3);
    EXPECT_EQ(FEntrada->TomarAvisos().size(), 2u);
}

// A correct stream full of addresses the map does not use: each is named
// once, then only a summary a minute at most.
TEST_F(EntradaOsc, UnaDireccionSinReglaSeAvisaUnaVezYLuegoSeResume)
{
    Usar("muse");
    for (int i = 0; i < 1300; ++i) {
        const double t = 0.05 * i;
        Recibir(MensajeFloats(i % 2 ? "/muse/eeg" : "/muse/elements/alpha_absolute", {1, 2, 3, 4}), t);
        Recibir(MensajeFloats("/muse/gyro", {0, 0, 0}), t);
        FEntrada->Revisar(t, FVivo);
    }
    const std::vector<std::string> avisos = FEntrada->TomarAvisos();
    // Two names and one summary at the minute.
    ASSERT_EQ(avisos.size(), 3u);
    EXPECT_NE(avisos[0].find("sin regla en el mapa: /muse/elements/alpha_absolute"), std::string::npos);
    EXPECT_NE(avisos[1].find("sin regla en el mapa: /muse/eeg"), std::string::npos);
    EXPECT_NE(avisos[2].find("1201 mensajes OSC ignorados en el último minuto"), std::string::npos) << avisos[2];
}
