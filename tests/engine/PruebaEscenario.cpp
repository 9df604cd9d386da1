// The scenario reader: what a valid text yields, and every fault reported
// with its line.
#include "Escenario.h"
#include "edk.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>

namespace {

using edk::TEscenario;
using edk::TOrden;
using C = TOrden::TClase;

TEST(Escenario, ValidTextYieldsOrdersInTimeOrder)
{
    TEscenario e;
    ASSERT_TRUE(e.Leer("# demo\n"
                       "0    alta 3\r\n"
                       "0.5  cognitiva tirar 0.75 en 0.25   # ramp\n"
                       "0.5  expresiva 0x0100 1\n"
                       "\n"
                       "1    senal 1\n"
                       "1    bateria 2 4\n"
                       "2    contactos 3\n"
                       "2    contactos 0 1 2 3 4 0 1 2 3 4 0 1 2 3 4 0 1 2\n"
                       "3    giro -120 7 en 1\n"
                       "4    giroscopio sin-calibrar\n"
                       "4    giroscopio calibrado\n"
                       "5    evento 0x0080\n"
                       "5    evento 1 9\n"
                       "6    baja 3\n"
                       "8    fin\n"))
        << e.Error();
    EXPECT_EQ(e.Error(), "");
    EXPECT_DOUBLE_EQ(e.Duracion(), 8);
    const auto& o = e.Ordenes();
    ASSERT_EQ(o.size(), 13u);
    EXPECT_EQ(o[0].Clase, C::Alta);
    EXPECT_EQ(o[0].Usuario, 3u);
    EXPECT_EQ(o[1].Clase, C::Cognitiva);
    EXPECT_EQ(o[1].Accion, static_cast<std::uint32_t>(ACC_COG_TIRAR));
    EXPECT_DOUBLE_EQ(o[1].Valor, 0.75);
    EXPECT_DOUBLE_EQ(o[1].Rampa, 0.25);
    EXPECT_EQ(o[1].Linea, 3u);
    EXPECT_EQ(o[2].Accion, static_cast<std::uint32_t>(ACC_EXP_APRETAR_DIENTES));
    EXPECT_EQ(o[4].A, 2);
    EXPECT_EQ(o[4].B, 4);
    EXPECT_EQ(o[5].Contactos[17], 3);
    EXPECT_EQ(o[6].Contactos[4], 4);
    EXPECT_EQ(o[7].A, -120);
    EXPECT_EQ(o[7].B, 7);
    EXPECT_EQ(o[8].Clase, C::GiroSinCalibrar);
    EXPECT_EQ(o[9].Clase, C::GiroCalibrado);
    EXPECT_EQ(o[10].A, EE_ProfileEvent);
    EXPECT_FALSE(o[10].ConUsuario);
    EXPECT_TRUE(o[11].ConUsuario);
    EXPECT_EQ(o[11].Usuario, 9u);
    EXPECT_EQ(o[12].Clase, C::Baja);
}

TEST(Escenario, DurationIsTheLastLineWithoutFin)
{
    TEscenario e;
    ASSERT_TRUE(e.Leer("0 alta 0\n2.5 senal 1\n"));
    EXPECT_DOUBLE_EQ(e.Duracion(), 2.5);
    ASSERT_TRUE(e.Leer(""));
    EXPECT_TRUE(e.Ordenes().empty());
    EXPECT_DOUBLE_EQ(e.Duracion(), 0);
}

struct TCasoError {
    const char* Nombre; // the case's test name: letters, digits and '_'
    std::string_view Texto;
    const char* Error; // the start of Error()
};

// Printed by its name, so that listed tests read the same on every build.
void PrintTo(const TCasoError& caso, std::ostream* salida)
{
    *salida << caso.Nombre;
}

class EscenarioErroneo : public testing::TestWithParam<TCasoError> { };

TEST_P(EscenarioErroneo, ReportsTheLine)
{
    TEscenario e;
    EXPECT_FALSE(e.Leer(GetParam().Texto));
    EXPECT_TRUE(e.Error().starts_with(GetParam().Error)) << e.Error();
}

INSTANTIATE_TEST_SUITE_P(
    Casos, EscenarioErroneo,
    testing::Values(
        TCasoError {"LetterAsTime", "0 alta 0\nx senal 1\n", "línea 2: tiempo no válido"},
        TCasoError {"NegativeTime", "-1 senal 1\n", "línea 1: tiempo no válido"},
        TCasoError {"ExponentInTime", "1e3 senal 1\n", "línea 1: tiempo no válido"},
        TCasoError {"NaNAsTime", "nan senal 1\n", "línea 1: tiempo no válido"},
        TCasoError {"TimeBeyondTheLimit", "2000000 senal 1\n", "línea 1: tiempo no válido"},
        TCasoError {"TimeGoesBack", "2 senal 1\n1 senal 2\n", "línea 2: el tiempo retrocede"},
        TCasoError {"TimeWithoutCommand", "1\n", "línea 1: falta la orden"},
        TCasoError {"UnknownCommand", "1 volar\n", "línea 1: orden desconocida 'volar'"},
        TCasoError {"CognitiveWithoutPower", "1 cognitiva tirar\n", "línea 1: 'cognitiva' lleva"},
        TCasoError {"ExpressionAsCognitiveAction", "1 cognitiva sonreir 0.5\n",
                    "línea 1: acción cognitiva desconocida"},
        TCasoError {"TwoBitsAsOneAction", "1 expresiva 0x0003 0.5\n", "línea 1: acción expresiva desconocida"},
        TCasoError {"PowerAboveOne", "1 expresiva apretar 1.5\n", "línea 1: potencia no válida"},
        TCasoError {"RampOfZeroSeconds", "1 expresiva apretar 0.5 en 0\n", "línea 1: duración de rampa no válida"},
        TCasoError {"UnknownWordAfterTheValues", "1 expresiva apretar 0.5 durante 2\n", "línea 1: tras los valores"},
        TCasoError {"SignalOutOfRange", "1 senal 3\n", "línea 1: señal no válida"},
        TCasoError {"SignalWithoutValue", "1 senal\n", "línea 1: 'senal' lleva"},
        TCasoError {"BatteryLevelAboveMaximum", "1 bateria 5 4\n", "línea 1: batería no válida"},
        TCasoError {"TwoContactValues", "1 contactos 1 2\n", "línea 1: 'contactos' lleva"},
        TCasoError {"ContactQualityOutOfRange", "1 contactos 5\n", "línea 1: calidad de contacto no válida '5'"},
        TCasoError {"GyroOutOfRange", "1 giro 40000 0\n", "línea 1: giro no válido"},
        TCasoError {"NegativeUser", "1 alta -1\n", "línea 1: usuario no válido"},
        TCasoError {"HeadsetPutOnTwice", "1 alta 0\n2 alta 1\n", "línea 2: ya hay un casco puesto"},
        TCasoError {"HeadsetOffWithoutOneOn", "1 baja 0\n", "línea 1: no hay ningún casco puesto"},
        TCasoError {"HeadsetOffByAnotherUser", "1 alta 0\n2 baja 1\n", "línea 2: el casco puesto es el del usuario 0"},
        TCasoError {"UnknownGyroState", "1 giroscopio roto\n", "línea 1: 'giroscopio' lleva"},
        TCasoError {"EventTypeWithItsOwnCommand", "1 evento 0x0040\n", "línea 1: ese tipo tiene orden propia"},
        TCasoError {"EventTypeBeyond16Bits", "1 evento 0x10001\n", "línea 1: tipo de evento no válido"},
        TCasoError {"LineAfterFin", "5 fin\n6 senal 1\n", "línea 2: nada puede seguir a 'fin'"},
        TCasoError {"FinWithAnArgument", "5 fin ya\n", "línea 1: 'fin' no lleva argumentos"},
        TCasoError {"EstadoWithAnArgument", "5 estado 1\n", "línea 1: 'estado' no lleva argumentos"},
        TCasoError {"NullCharacter", std::string_view("1 senal 1\n2 sen\0al 1\n", 21), "línea 2: carácter nulo"}),
    [](const testing::TestParamInfo<TCasoError>& caso) { return std::string(caso.param.Nombre); });

TEST(Escenario, EveryFaultIsListedAndThePreviousContentStays)
{
    TEscenario e;
    ASSERT_TRUE(e.Leer("0 alta 0\n"));
    EXPECT_FALSE(e.Leer("1 senal 9\n2 senal 1\n3 volar\n"));
    EXPECT_EQ(e.Error(), "línea 1: señal no válida '9' (0 sin señal, 1 mala, 2 buena)\n"
                         "línea 3: orden desconocida 'volar'");
    ASSERT_EQ(e.Ordenes().size(), 1u);
    EXPECT_EQ(e.Ordenes()[0].Clase, C::Alta);
}

TEST(Escenario, ReadsFilesAndRefusesWhatIsNotOne)
{
    const std::string ruta = testing::TempDir() + "prueba_escenario.esc";
    std::FILE* f = std::fopen(ruta.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("0 alta 1\n1 fin\n", f);
    std::fclose(f);

    TEscenario e;
    EXPECT_TRUE(e.LeerFichero(ruta)) << e.Error();
    EXPECT_DOUBLE_EQ(e.Duracion(), 1);
    EXPECT_FALSE(e.LeerFichero(ruta + ".no"));
    EXPECT_FALSE(e.LeerFichero(testing::TempDir()));
    EXPECT_FALSE(e.Error().empty());
    std::remove(ruta.c_str());
}

} // namespace
