// The .emu profile reader: a complete profile is taken whole, anything
// wrong is refused with its line and leaves the previous data alone.
#include "Perfil.h"
#include "edk.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>

namespace {

using edk::TPerfil;

constexpr std::string_view Valido = "GEDANKO-PERFIL 1\n"
                                    "# comment\n"
                                    "sensibilidad-apretar = 720\n"
                                    "sensibilidades-cognitivas = 7, 2, 3, 9\n"
                                    "cognitivas-entrenadas = neutral+tirar+empujar\n"
                                    "cognitivas-activas = 0x0005\n"
                                    "expresivas-entrenadas = neutral+apretar\n"
                                    "nivel-entrenamiento = 0.4567\n";

std::string Cambiar(std::string_view linea, std::string_view nueva)
{
    std::string texto(Valido);
    const std::size_t donde = texto.find(linea);
    EXPECT_NE(donde, std::string::npos) << linea;
    texto.replace(donde, linea.size(), nueva);
    return texto;
}

TEST(Perfil, AValidProfileIsReadWhole)
{
    TPerfil p;
    ASSERT_TRUE(p.Leer(Valido)) << p.Error();
    EXPECT_EQ(p.Datos().SensibilidadApretar, 720);
    EXPECT_EQ(p.Datos().SensibilidadesCognitivas, (std::array<int, 4> {7, 2, 3, 9}));
    EXPECT_EQ(p.Datos().CognitivasEntrenadas, 0x0007u);
    EXPECT_EQ(p.Datos().CognitivasActivas, 0x0005u);
    EXPECT_EQ(p.Datos().ExpresivasEntrenadas, 0x0101u);
    EXPECT_FLOAT_EQ(p.Datos().NivelEntrenamiento, 0.4567f);
}

TEST(Perfil, WindowsLineEndsAndAByteOrderMarkAreAccepted)
{
    std::string texto = "\xEF\xBB\xBF";
    for (const char c : Valido) {
        if (c == '\n')
            texto += '\r';
        texto += c;
    }
    TPerfil p;
    EXPECT_TRUE(p.Leer(texto)) << p.Error();
}

struct TCaso {
    const char* Nombre; // the case's test name: letters, digits and '_'
    std::string Texto;
    const char* Error;
};

// Printed by its name, so that listed tests read the same on every build.
void PrintTo(const TCaso& caso, std::ostream* salida)
{
    *salida << caso.Nombre;
}

class PerfilErroneo : public testing::TestWithParam<TCaso> { };

TEST_P(PerfilErroneo, IsRefusedAndLeavesTheDataAlone)
{
    TPerfil p;
    ASSERT_TRUE(p.Leer(Valido));
    EXPECT_FALSE(p.Leer(GetParam().Texto));
    EXPECT_TRUE(p.Error().starts_with(GetParam().Error)) << p.Error();
    EXPECT_EQ(p.Datos().SensibilidadApretar, 720);
    EXPECT_FLOAT_EQ(p.Datos().NivelEntrenamiento, 0.4567f);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, PerfilErroneo,
    testing::Values(
        TCaso {"EmptyText", "", "línea 1: se esperaba la cabecera"},
        TCaso {"WrongHeaderVersion", Cambiar("GEDANKO-PERFIL 1", "GEDANKO-PERFIL 2"),
               "línea 1: se esperaba la cabecera"},
        TCaso {"LineWithoutEquals", Cambiar("# comment", "ruido"), "línea 2: se esperaba 'clave = valor'"},
        TCaso {"UnknownKey", Cambiar("# comment", "color = azul"), "línea 2: clave desconocida 'color'"},
        TCaso {"RepeatedKey", Cambiar("# comment", "sensibilidad-apretar = 10"), "línea 3: clave repetida"},
        TCaso {"ClenchThresholdAboveMaximum", Cambiar("= 720", "= 1001"), "línea 3: sensibilidad-apretar:"},
        TCaso {"ClenchThresholdNotANumber", Cambiar("= 720", "= 7x"), "línea 3: sensibilidad-apretar:"},
        TCaso {"ThreeSensitivities", Cambiar("7, 2, 3, 9", "7, 2, 3"), "línea 4: sensibilidades-cognitivas:"},
        TCaso {"SensitivityBelowOne", Cambiar("7, 2, 3, 9", "7, 0, 3, 9"), "línea 4: sensibilidades-cognitivas:"},
        TCaso {"UnknownCognitiveAction", Cambiar("neutral+tirar+empujar", "neutral+volar"),
               "línea 5: cognitivas-entrenadas: acciones no válidas"},
        TCaso {"TrainedWithoutNeutral", Cambiar("neutral+tirar+empujar", "tirar"),
               "línea 5: cognitivas-entrenadas: la acción neutral"},
        TCaso {"ActiveButNotTrained", Cambiar("0x0005", "0x0009"),
               "línea 6: cognitivas-activas: solo pueden activarse acciones entrenadas"},
        TCaso {"CognitiveNameAsExpression", Cambiar("neutral+apretar", "neutral+tirar"),
               "línea 7: expresivas-entrenadas: acciones no válidas"},
        TCaso {"SkillAboveOne", Cambiar("0.4567", "1.2"), "línea 8: nivel-entrenamiento:"},
        TCaso {"SkillNaN", Cambiar("0.4567", "nan"), "línea 8: nivel-entrenamiento:"},
        TCaso {"MissingKey", Cambiar("nivel-entrenamiento = 0.4567\n", ""), "falta la clave 'nivel-entrenamiento'"},
        TCaso {"NullCharacter", Cambiar("# comment", std::string("#\0", 2)), "línea 2: carácter nulo"}),
    [](const testing::TestParamInfo<TCaso>& caso) { return std::string(caso.param.Nombre); });

TEST(Perfil, AtMostFourActionsBesidesNeutralAreActive)
{
    std::string texto = Cambiar("neutral+tirar+empujar", "0x003F");
    const std::size_t activas = texto.find("0x0005");
    TPerfil p;
    EXPECT_TRUE(p.Leer(texto.replace(activas, 6, "0x001F"))) << p.Error();
    EXPECT_FALSE(p.Leer(texto.replace(activas, 6, "0x003F")));
    EXPECT_TRUE(p.Error().starts_with("línea 6: cognitivas-activas: como mucho cuatro")) << p.Error();
}

TEST(Perfil, FileCodesTellUnreadableFromInvalid)
{
    const std::string dir = testing::TempDir();
    const std::string bueno = dir + "prueba_perfil_bueno.emu";
    const std::string malo = dir + "prueba_perfil_malo.emu";
    const std::string fifo = dir + "prueba_perfil_fifo.emu";
    const std::string grande = dir + "prueba_perfil_grande.emu";
    auto escribir = [](const std::string& ruta, std::string_view texto) {
        std::FILE* f = std::fopen(ruta.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(texto.data(), 1, texto.size(), f);
        std::fclose(f);
    };
    escribir(bueno, Valido);
    escribir(malo, "GEDANKO-PERFIL 1\n");
    escribir(grande, std::string(edk::TamanoMaximoPerfil + 1, '#'));
    std::remove(fifo.c_str());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    TPerfil p;
    EXPECT_EQ(p.LeerFichero(bueno), EDK_SIN_ERRORES);
    EXPECT_EQ(p.LeerFichero(malo), EDK_PERFIL_NO_VALIDO);
    EXPECT_EQ(p.LeerFichero(grande), EDK_PERFIL_NO_VALIDO);
    EXPECT_EQ(p.LeerFichero(dir + "no_existe.emu"), EDK_ERROR_FICHEROS);
    EXPECT_EQ(p.LeerFichero(dir), EDK_ERROR_FICHEROS);
    EXPECT_EQ(p.LeerFichero(fifo), EDK_ERROR_FICHEROS) << "a FIFO without writer must not hang";
    EXPECT_EQ(p.LeerFichero(""), EDK_ERROR_FICHEROS);
    EXPECT_EQ(p.Datos().SensibilidadApretar, 720);
    for (const std::string& ruta : {bueno, malo, fifo, grande})
        std::remove(ruta.c_str());
}

} // namespace
