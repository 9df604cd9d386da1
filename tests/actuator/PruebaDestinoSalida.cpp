// The output destination as written in gedanko.ini: what each text names,
// and the Spanish reason for a value that names nothing.
#include "DestinoSalida.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

struct CasoDestino {
    std::string Nombre;
    QString Texto;
    bool Valido;
    // The destination read back as text, or a piece of the error.
    QString Esperado;
    friend void PrintTo(const CasoDestino& caso, std::ostream* salida) { *salida << caso.Nombre; }
};

class Destino : public testing::TestWithParam<CasoDestino> { };

TEST_P(Destino, SeInterpretaComoSeEspera)
{
    const CasoDestino& caso = GetParam();
    TDestinoSalida destino;
    ASSERT_EQ(destino.Interpretar(caso.Texto), caso.Valido) << destino.MensajeError().toStdString();
    if (caso.Valido) {
        EXPECT_EQ(destino.Texto(), caso.Esperado);
        EXPECT_TRUE(destino.MensajeError().isEmpty());
        return;
    }
    // A bad value leaves the parallel port and says what was wrong with what.
    EXPECT_EQ(destino.Tipo(), TDestinoSalida::tdParalelo);
    EXPECT_TRUE(destino.MensajeError().startsWith(QStringLiteral("Destino de salida no válido «")))
        << destino.MensajeError().toStdString();
    EXPECT_TRUE(destino.MensajeError().contains(caso.Esperado)) << destino.MensajeError().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Salida, Destino,
    testing::Values(CasoDestino {"Vacio", "", true, "paralelo"}, CasoDestino {"Blancos", "  \t", true, "paralelo"},
                    CasoDestino {"Paralelo", "paralelo", true, "paralelo"},
                    CasoDestino {"ParaleloMayusculas", " PARALELO ", true, "paralelo"},
                    CasoDestino {"Serie", "serie:/dev/ttyACM0", true, "serie:/dev/ttyACM0,115200"},
                    CasoDestino {"SerieConBaudios", "Serie:/dev/ttyUSB0, 57600", true, "serie:/dev/ttyUSB0,57600"},
                    CasoDestino {"Udp", "udp:192.168.4.1:4210", true, "udp:192.168.4.1:4210"},
                    CasoDestino {"UdpNombre", "UDP:coche.local:1", true, "udp:coche.local:1"},
                    CasoDestino {"UdpPuertoMaximo", "udp:127.0.0.1:65535", true, "udp:127.0.0.1:65535"},
                    CasoDestino {"Desconocido", "usb", false, "use paralelo, serie:"},
                    CasoDestino {"SerieSinRuta", "serie:", false, "/dev/ttyACM0"},
                    CasoDestino {"SerieRutaRelativa", "serie:ttyACM0", false, "/dev/ttyACM0"},
                    CasoDestino {"SerieBaudiosTexto", "serie:/dev/ttyACM0,rapido", false, "velocidad"},
                    CasoDestino {"SerieBaudiosHex", "serie:/dev/ttyACM0,0x1C200", false, "velocidad"},
                    CasoDestino {"SerieBaudiosCero", "serie:/dev/ttyACM0,0", false, "velocidad"},
                    // Too slow for a frame's bytes to come together.
                    CasoDestino {"SerieDemasiadoLenta", "serie:/dev/ttyACM0,1200", false, "(2400..4000000 baudios)"},
                    CasoDestino {"SerieLaMasLenta", "serie:/dev/ttyACM0,2400", true, "serie:/dev/ttyACM0,2400"},
                    CasoDestino {"SerieBaudiosEnormes", "serie:/dev/ttyACM0,99999999999", false, "velocidad"},
                    CasoDestino {"UdpSinPuerto", "udp:192.168.4.1", false, "equipo"},
                    CasoDestino {"UdpPuertoCero", "udp:192.168.4.1:0", false, "puerto UDP"},
                    CasoDestino {"UdpPuertoGrande", "udp:192.168.4.1:65536", false, "puerto UDP"},
                    CasoDestino {"UdpPuertoNegativo", "udp:192.168.4.1:-1", false, "puerto UDP"},
                    CasoDestino {"UdpSinEquipo", "udp::4210", false, "equipo"},
                    CasoDestino {"UdpEquipoConBlanco", "udp:mi coche:4210", false, "equipo"},
                    // The key never shows in the text the operator reads.
                    CasoDestino {"UdpConClave", "udp:192.168.4.1:4210, 00112233445566778899aabbccddeeFF", true,
                                 "udp:192.168.4.1:4210"},
                    CasoDestino {"UdpClaveCorta", "udp:192.168.4.1:4210,0011", false, "32 cifras hexadecimales"},
                    CasoDestino {"UdpClaveNula", "udp:192.168.4.1:4210,00000000000000000000000000000000", false,
                                 "todo ceros"},
                    CasoDestino {"UdpClaveVacia", "udp:192.168.4.1:4210,", false, "clave"}),
    [](const testing::TestParamInfo<CasoDestino>& caso) { return caso.param.Nombre; });

TEST(Destino, LaClaveSeLeeEnBytesYNoQuedaDeUnValorAnterior)
{
    TDestinoSalida destino;
    ASSERT_TRUE(destino.Interpretar(u"udp:coche:4210,000102030405060708090a0b0c0d0e0f"));
    for (std::uint8_t i = 0; i < 16; ++i)
        EXPECT_EQ(destino.Clave().Bytes[i], i);
    ASSERT_TRUE(destino.Interpretar(u"udp:coche:4210"));
    for (std::uint8_t byte : destino.Clave().Bytes)
        EXPECT_EQ(byte, 0);
}

TEST(Destino, ElErrorCitaElValorYNoQuedaNadaDelAnterior)
{
    TDestinoSalida destino;
    ASSERT_TRUE(destino.Interpretar(u"serie:/dev/ttyACM0,9600"));
    ASSERT_FALSE(destino.Interpretar(u"udp:equipo:99999"));
    EXPECT_EQ(destino.MensajeError(),
              QStringLiteral("Destino de salida no válido «udp:equipo:99999»: puerto UDP no válido (1..65535)"));
    EXPECT_TRUE(destino.Dispositivo().isEmpty());
    EXPECT_EQ(destino.Baudios(), 0);
}

} // namespace
