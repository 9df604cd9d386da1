// The OSC mapping format: the shipped maps, every rule's fields, and the
// errors that refuse a map, each named by its line.
#include "MapaOsc.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using emulador::TDestinoOsc;
using emulador::TMapaOsc;

TEST(MapaOsc, LosMapasIncorporadosSonLosFicherosDeResources)
{
    for (const std::string nombre : {"muse", "generico", "openbci"}) {
        TMapaOsc incorporado;
        ASSERT_TRUE(incorporado.Cargar(nombre)) << incorporado.Error();
        TMapaOsc fichero;
        ASSERT_TRUE(fichero.LeerFichero(std::string(GEDANKO_FUENTE) + "/resources/mapas/" + nombre + ".map"))
            << fichero.Error();
        EXPECT_EQ(fichero.Reglas().size(), incorporado.Reglas().size()) << nombre;
    }
    TMapaOsc muse;
    ASSERT_TRUE(muse.Cargar("muse"));
    EXPECT_TRUE(muse.Contiene("/muse/elements/jaw_clench"));
    EXPECT_EQ(muse.OtrosContactos(), 2); // the lowest usable quality
}

TEST(MapaOsc, UnaLineaConTodasLasOpciones)
{
    TMapaOsc mapa;
    ASSERT_TRUE(mapa.Leer("\xEF\xBB\xBF# comment\r\n\n"
                          "/a/b 2 contacto 3,4,17 escala -1 desplazamiento 5 umbral 0.5 retencion 0.3 # tail\r\n"
                          "otros-contactos 1\n"))
        << mapa.Error();
    ASSERT_EQ(mapa.Reglas().size(), 1u);
    const emulador::TReglaOsc& r = mapa.Reglas()[0];
    EXPECT_EQ(r.Direccion, "/a/b");
    EXPECT_EQ(r.Argumento, 2u);
    EXPECT_EQ(r.Destino, TDestinoOsc::Contacto);
    EXPECT_EQ(r.Canales, (std::vector<int> {3, 4, 17}));
    EXPECT_DOUBLE_EQ(r.Valor(2), 3);
    EXPECT_DOUBLE_EQ(r.Umbral, 0.5);
    EXPECT_DOUBLE_EQ(r.Retencion, 0.3);
    EXPECT_EQ(r.Linea, 3u);
    EXPECT_EQ(mapa.OtrosContactos(), 1);
}

TEST(MapaOsc, TodosLosErroresConSuLineaYElMapaAnteriorSeQueda)
{
    TMapaOsc mapa;
    ASSERT_TRUE(mapa.Leer("/x 0 avance\n"));
    EXPECT_FALSE(mapa.Leer("/bien 0 giro\n"
                           "/mal 0 volar\n"
                           "# fine\n"
                           "/otra 99 senal\n"));
    EXPECT_EQ(mapa.Error(), "línea 2: destino desconocido 'volar'\n"
                            "línea 4: argumento no válido '99' (0..63)");
    ASSERT_EQ(mapa.Reglas().size(), 1u);
    EXPECT_EQ(mapa.Reglas()[0].Direccion, "/x");

    // Past ten, the errors are counted.
    std::string muchos;
    for (int i = 0; i < 14; ++i)
        muchos += "/mal 0 volar\n";
    EXPECT_FALSE(mapa.Leer(muchos));
    EXPECT_NE(mapa.Error().find("línea 10: destino desconocido 'volar'\n... y 4 errores más sin listar"),
              std::string::npos)
        << mapa.Error();
}

struct TCasoMalo {
    const char* Nombre;
    std::string_view Texto;
    const char* Error;
};

// Cases print as their name.
void PrintTo(const TCasoMalo& caso, std::ostream* os)
{
    *os << caso.Nombre;
}

class MapaOscMalo : public testing::TestWithParam<TCasoMalo> { };

TEST_P(MapaOscMalo, SeRechazaNombrandoLaLinea)
{
    TMapaOsc mapa;
    EXPECT_FALSE(mapa.Leer(GetParam().Texto));
    EXPECT_NE(mapa.Error().find(GetParam().Error), std::string::npos) << mapa.Error();
}

INSTANTIATE_TEST_SUITE_P(
    Casos, MapaOscMalo,
    testing::Values(TCasoMalo {"SinReglas", "# nothing\n", "el mapa no tiene ninguna regla"},
                    TCasoMalo {"DireccionSinBarra", "a/b 0 avance\n", "línea 1: dirección OSC no válida 'a/b'"},
                    TCasoMalo {"DireccionConComodin", "/a/* 0 avance\n", "línea 1: dirección OSC no válida"},
                    TCasoMalo {"FaltaDestino", "/a 0\n", "línea 1: faltan el argumento y el destino"},
                    TCasoMalo {"ArgumentoNegativo", "/a -1 avance\n", "línea 1: argumento no válido '-1'"},
                    TCasoMalo {"ContactoSinCanales", "/a 0 contacto\n", "línea 1: 'contacto' lleva los canales"},
                    TCasoMalo {"CanalFuera", "/a 0 contacto 3,18\n", "línea 1: canal no válido '18'"},
                    TCasoMalo {"CanalVacio", "/a 0 contacto 3,,4\n", "línea 1: canal no válido ''"},
                    TCasoMalo {"OpcionDesconocida", "/a 0 avance ganancia 2\n", "opción desconocida 'ganancia'"},
                    TCasoMalo {"OpcionSinValor", "/a 0 avance escala\n", "falta el valor de 'escala'"},
                    TCasoMalo {"ValorConExponente", "/a 0 avance escala 1e3\n", "valor no válido '1e3'"},
                    TCasoMalo {"UmbralNegativo", "/a 0 avance umbral -1\n", "el umbral no puede ser negativo"},
                    TCasoMalo {"RetencionLarga", "/a 0 avance retencion 4000\n", "retención no válida '4000'"},
                    TCasoMalo {"OtrosContactosFuera", "/a 0 avance\notros-contactos 5\n", "línea 2: 'otros-contactos'"},
                    TCasoMalo {"CaracterNulo", std::string_view("/a 0 avance\0\n", 13), "línea 1: carácter nulo"}),
    [](const testing::TestParamInfo<TCasoMalo>& caso) { return std::string(caso.param.Nombre); });

TEST(MapaOsc, FicheroIlegibleODemasiadoGrande)
{
    TMapaOsc mapa;
    EXPECT_FALSE(mapa.Cargar("/no/existe.map"));
    EXPECT_EQ(mapa.Error(), "no se puede leer el fichero /no/existe.map");
    EXPECT_FALSE(mapa.Leer(std::string(emulador::TamanoMaximoMapa + 1, '#')));
    EXPECT_EQ(mapa.Error(), "el mapa es demasiado grande");
}
