// Protocol lines: every event survives a round trip, and malformed lines are
// refused without touching the output.
#include "Protocolo.h"
#include "edk.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

edk::TEvento EstadoCompleto()
{
    edk::TEvento e;
    e.Tipo = EE_EmoStateUpdated;
    e.Usuario = 7;
    e.Estado.Tiempo = 12.5f;
    e.Estado.AccionCognitiva = ACC_COG_TIRAR;
    e.Estado.PotenciaCognitiva = 0.1f; // not exact in binary: shortest form must still round-trip
    e.Estado.AccionExpresiva = ACC_EXP_APRETAR_DIENTES;
    e.Estado.PotenciaExpresiva = 1.0f;
    e.Estado.Senal = 1;
    e.Estado.Bateria = 3;
    e.Estado.BateriaMax = 4;
    for (int i = 0; i < edk::NumCanales; ++i)
        e.Estado.Contactos[static_cast<std::size_t>(i)] = i % 5;
    e.Estado.GiroX = -32767;
    e.Estado.GiroY = 120;
    return e;
}

void EsperarIguales(const edk::TEvento& a, const edk::TEvento& b)
{
    EXPECT_EQ(a.Tipo, b.Tipo);
    EXPECT_EQ(a.Usuario, b.Usuario);
    if (a.Tipo != EE_EmoStateUpdated)
        return;
    EXPECT_EQ(a.Estado.Tiempo, b.Estado.Tiempo);
    EXPECT_EQ(a.Estado.AccionCognitiva, b.Estado.AccionCognitiva);
    EXPECT_EQ(a.Estado.PotenciaCognitiva, b.Estado.PotenciaCognitiva);
    EXPECT_EQ(a.Estado.AccionExpresiva, b.Estado.AccionExpresiva);
    EXPECT_EQ(a.Estado.PotenciaExpresiva, b.Estado.PotenciaExpresiva);
    EXPECT_EQ(a.Estado.Senal, b.Estado.Senal);
    EXPECT_EQ(a.Estado.Bateria, b.Estado.Bateria);
    EXPECT_EQ(a.Estado.BateriaMax, b.Estado.BateriaMax);
    EXPECT_EQ(a.Estado.Contactos, b.Estado.Contactos);
    EXPECT_EQ(a.Estado.GiroX, b.Estado.GiroX);
    EXPECT_EQ(a.Estado.GiroY, b.Estado.GiroY);
}

} // namespace

TEST(Protocolo, SaludoConVersion)
{
    EXPECT_EQ(edk::Saludo(), "GEDANKO-EMU 1");
    EXPECT_TRUE(edk::EsSaludo("GEDANKO-EMU 1"));
    for (const char* otro : {"GEDANKO-EMU 2", "GEDANKO-EMU 1 ", "gedanko-emu 1", "", "ESTADO"})
        EXPECT_FALSE(edk::EsSaludo(otro)) << otro;
}

TEST(Protocolo, CadaTipoDeEventoIdaYVuelta)
{
    std::vector<edk::TEvento> casos;
    casos.push_back(EstadoCompleto());
    casos.push_back(edk::TEvento {EE_EmoStateUpdated, 0, {}}); // defaults of a fresh EmoState
    edk::TEvento grande = EstadoCompleto();
    grande.Usuario = std::numeric_limits<std::uint32_t>::max();
    grande.Estado.Tiempo = 1e7f;
    grande.Estado.PotenciaCognitiva = 1e-6f;
    grande.Estado.AccionCognitiva = 0xFFFFFFFFu;
    grande.Estado.Bateria = std::numeric_limits<int>::max();
    casos.push_back(grande);
    for (const int tipo : {int(EE_UserAdded), int(EE_UserRemoved), edk::TipoInternoGiroCalibrado,
                           edk::TipoInternoGiroSinCalibrar, int(EE_UnknownEvent), int(EE_ProfileEvent), 0xFFFF})
        casos.push_back(edk::TEvento {tipo, 3, {}});

    for (const edk::TEvento& original : casos) {
        std::string linea;
        ASSERT_TRUE(edk::FormatearEvento(original, linea)) << original.Tipo;
        EXPECT_LT(linea.size(), edk::LongitudMaximaLinea);
        EXPECT_EQ(linea.find('\n'), std::string::npos);
        edk::TEvento leido;
        ASSERT_TRUE(edk::InterpretarLinea(linea, leido)) << linea;
        EsperarIguales(original, leido);
    }
}

TEST(Protocolo, LineasConocidas)
{
    edk::TEvento e;
    ASSERT_TRUE(edk::InterpretarLinea("ESTADO 0 12.5 4 0.25 1 0 2 3 4 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,3 -7 0", e));
    EXPECT_EQ(e.Tipo, EE_EmoStateUpdated);
    EXPECT_EQ(e.Estado.AccionCognitiva, 4u);
    EXPECT_FLOAT_EQ(e.Estado.PotenciaCognitiva, 0.25f);
    EXPECT_EQ(e.Estado.Contactos[17], 3);
    EXPECT_EQ(e.Estado.GiroX, -7);

    ASSERT_TRUE(edk::InterpretarLinea("USUARIO_ANADIDO 5", e));
    EXPECT_EQ(e.Tipo, EE_UserAdded);
    EXPECT_EQ(e.Usuario, 5u);
    ASSERT_TRUE(edk::InterpretarLinea("EVENTO 128 2", e));
    EXPECT_EQ(e.Tipo, EE_ProfileEvent);
    EXPECT_EQ(e.Usuario, 2u);
}

TEST(Protocolo, LineasMalFormadasSeRechazan)
{
    const std::string bueno = "ESTADO 0 1 1 0 1 0 2 0 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0 0";
    const std::vector<std::string> casos = {
        "",
        " ",
        "ESTADO",
        "estado 0 1 1 0 1 0 2 0 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0 0",
        bueno + " ", // trailing space
        " " + bueno, // leading space
        "ESTADO  0 1 1 0 1 0 2 0 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0 0", // double space
        bueno + " 0", // one token too many
        "ESTADO 0 1 1 0 1 0 2 0 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0", // one too few
        "ESTADO 0 1 1 0 1 0 2 0 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0 0", // 17 contacts
        "ESTADO 0 1 1 0 1 0 2 0 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0 0", // 19 contacts
        "ESTADO 0 1 1 0 1 0 2 0 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4, 0 0", // empty contact
        "ESTADO 0 1 1 0 1 0 2 0 0 5,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0 0", // contact above 4
        "ESTADO 0 1 1 0 1 0 2 0 0 -1,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0 0", // contact below 0
        "ESTADO -1 1 1 0 1 0 2 0 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0 0", // negative user
        "ESTADO 4294967296 1 1 0 1 0 2 0 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0 0", // user overflows
        "ESTADO 0 -1 1 0 1 0 2 0 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0 0", // negative time
        "ESTADO 0 nan 1 0 1 0 2 0 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0 0",
        "ESTADO 0 inf 1 0 1 0 2 0 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0 0",
        "ESTADO 0 1e40 1 0 1 0 2 0 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0 0", // beyond float
        "ESTADO 0 1 1 1.5 1 0 2 0 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0 0", // power above 1
        "ESTADO 0 1 1 0 1 -0.1 2 0 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0 0",
        "ESTADO 0 1 1 0 1 0 3 0 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0 0", // signal above 2
        "ESTADO 0 1 1 0 1 0 2 -1 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0 0", // negative battery
        "ESTADO 0 1 1 0 1 0 2 0 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 32768 0", // gyro too large
        "ESTADO 0 1 +1 0 1 0 2 0 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0 0", // explicit sign
        "ESTADO 0 1 0x4 0 1 0 2 0 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0 0", // hex
        "ESTADO 0 1 1 0 1 0 2 0 0 4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4 0 0\r", // stray CR
        bueno.substr(0, bueno.size() - 2) + std::string(1, '\0') + " 0", // NUL inside a token
        "USUARIO_ANADIDO",
        "USUARIO_ANADIDO 1 2",
        "USUARIO_ANADIDO x",
        "GIRO_CALIBRADO -3",
        "EVENTO 64 0", // an EmoState needs its own line
        "EVENTO 16 0",
        "EVENTO 65536 0",
        "EVENTO -1 0",
        "EVENTO 128",
        "DESCONOCIDO 1",
        std::string(2000, 'A'),
    };
    const edk::TEvento centinela {0x0400, 99, {}};
    for (const std::string& linea : casos) {
        edk::TEvento e = centinela;
        EXPECT_FALSE(edk::InterpretarLinea(linea, e)) << linea;
        EXPECT_EQ(e.Tipo, centinela.Tipo) << linea;
        EXPECT_EQ(e.Usuario, centinela.Usuario) << linea;
    }
    edk::TEvento e;
    EXPECT_TRUE(edk::InterpretarLinea(bueno, e)); // the base of the table is itself valid
}

TEST(Protocolo, ValoresQueNoViajanNoSeFormatean)
{
    auto con = [](auto cambio) {
        edk::TEvento e = EstadoCompleto();
        cambio(e);
        return e;
    };
    const std::vector<edk::TEvento> casos = {
        con([](edk::TEvento& e) { e.Estado.PotenciaExpresiva = 1.01f; }),
        con([](edk::TEvento& e) { e.Estado.Tiempo = std::numeric_limits<float>::quiet_NaN(); }),
        con([](edk::TEvento& e) { e.Estado.Contactos[3] = 9; }),
        con([](edk::TEvento& e) { e.Estado.Senal = -1; }),
        con([](edk::TEvento& e) { e.Estado.GiroY = 40000; }),
        edk::TEvento {0x10000, 0, {}},
        edk::TEvento {-5, 0, {}},
    };
    for (const edk::TEvento& e : casos) {
        std::string linea = "sin tocar";
        EXPECT_FALSE(edk::FormatearEvento(e, linea)) << e.Tipo;
        EXPECT_EQ(linea, "sin tocar");
    }
}
