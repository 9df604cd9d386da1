// A change of the live state served at once: one extra EmoState between two
// ticks, none when a due one already carries it, and times never going back;
// a flood of OSC values adds states only for changes of the detected action.
#include "EntradaOsc.h"
#include "Escenario.h"
#include "PaqueteOsc.h"
#include "Protocolo.h"
#include "Sesion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<edk::TEvento> Estados(const std::string& salida)
{
    std::vector<edk::TEvento> estados;
    std::size_t inicio = 0;
    for (std::size_t fin = salida.find('\n'); fin != std::string::npos; fin = salida.find('\n', inicio)) {
        edk::TEvento e;
        if (edk::InterpretarLinea(std::string_view(salida).substr(inicio, fin - inicio), e)
            && e.Tipo == EE_EmoStateUpdated)
            estados.push_back(e);
        inicio = fin + 1;
    }
    return estados;
}

} // namespace

TEST(SesionInmediata, UnEstadoDeMasSoloEntreDosTicsYSinRetroceder)
{
    for (const char* texto : {"0 alta 0\n0 senal 2\n", "0 alta 0\n0 senal 2\n5 fin\n"}) {
        SCOPED_TRACE(texto);
        edk::TEscenario escenario;
        ASSERT_TRUE(escenario.Leer(texto));
        emulador::TSesion sesion(escenario, 4, false);
        emulador::TEstadoVivo vivo;
        std::string salida;
        sesion.Avanzar(0.0, vivo, salida);
        ASSERT_EQ(Estados(salida).size(), 1u);

        vivo.FijarExpresiva(ACC_EXP_APRETAR_DIENTES, 0.5F);
        salida.clear();
        sesion.Avanzar(0.1, vivo, salida, true);
        std::vector<edk::TEvento> e = Estados(salida);
        ASSERT_EQ(e.size(), 1u);
        EXPECT_NEAR(e[0].Estado.Tiempo, 0.1, 1e-3);
        EXPECT_FLOAT_EQ(e[0].Estado.PotenciaExpresiva, 0.5F);

        // A due tick in the same pass carries the change: nothing extra.
        vivo.FijarExpresiva(ACC_EXP_APRETAR_DIENTES, 0.7F);
        salida.clear();
        sesion.Avanzar(0.26, vivo, salida, true);
        e = Estados(salida);
        ASSERT_EQ(e.size(), 1u);
        EXPECT_FLOAT_EQ(e[0].Estado.Tiempo, 0.25F);
        EXPECT_FLOAT_EQ(e[0].Estado.PotenciaExpresiva, 0.7F);

        // Without a change, the ticks only.
        salida.clear();
        sesion.Avanzar(0.3, vivo, salida);
        EXPECT_TRUE(Estados(salida).empty());

        // The headset taken off: nothing is served, at once or at a tick.
        vivo.FijarCasco(false);
        salida.clear();
        sesion.Avanzar(0.35, vivo, salida, true);
        EXPECT_TRUE(Estados(salida).empty());
    }
}

// A flood of changing values: the steady rate, plus one EmoState for each
// change of the detected action.
TEST(SesionInmediata, UnaRiadaDeValoresNoMultiplicaLosEstados)
{
    emulador::TMapaOsc mapa;
    ASSERT_TRUE(mapa.Cargar("generico"));
    edk::TEscenario escenario;
    ASSERT_TRUE(escenario.Leer("0 alta 0\n0 senal 2\n"));
    emulador::TEntradaOsc entrada(mapa, 0);
    emulador::TEstadoVivo vivo;
    emulador::TSesion sesion(escenario, 32, false);
    std::string salida;
    int cambiosDeAccion = 0;
    for (int i = 0; i < 10000; ++i) {
        const double t = i / 10000.0;
        // Powers that change at every message; the action every 2000.
        const float potencia = (i / 2000) % 2 ? 0.0F : 0.3F + static_cast<float>(i % 7) / 10;
        const std::vector<unsigned char> p = MensajeFloats(i % 3 ? "/gedanko/avance" : "/gedanko/giro", {potencia});
        bool inmediato = entrada.Paquete(p.data(), p.size(), t, vivo);
        cambiosDeAccion += inmediato;
        inmediato = entrada.Revisar(t, vivo) || inmediato;
        sesion.Avanzar(t, vivo, salida, inmediato);
    }
    EXPECT_GE(cambiosDeAccion, 4);
    EXPECT_LE(Estados(salida).size(), 33u + static_cast<unsigned>(cambiosDeAccion));
}
