// Loading by the bare name: with LD_LIBRARY_PATH pointing at the recorder's
// folder, the recorder wins over the libinpout32.so beside this program.
#include "Actuador.h"
#include "Grabacion.h"

#include <gtest/gtest.h>

TEST(PruebaActuadorNombre, LdLibraryPathSeBuscaAntesQueLaCarpetaDelPrograma)
{
    TGrabacion grabacion;
    TActuador actuador;
    ASSERT_FALSE(actuador.HayError()) << actuador.MensajeError().toStdString();
    actuador.Parar();
    actuador.Habilitar(true);
    actuador.Mover(dirAvance, giroIzquierda);
    EXPECT_EQ(grabacion.Llamadas(),
              (std::vector<std::pair<unsigned, unsigned>>{{888, 0}, {888, 0}, {888, 5}}));
}
