// Loading by the bare name, built twice: once beside our libinpout32.so and
// run with LD_LIBRARY_PATH pointing at the recorder's folder (which must win),
// and once into the recorder's folder and run without it (the program's own
// folder must be searched).
#include "Actuador.h"
#include "Grabacion.h"

#include <gtest/gtest.h>

TEST(PruebaActuadorNombre, CargaElGrabadorPorSuNombre)
{
    TGrabacion grabacion;
    TActuador actuador;
    ASSERT_FALSE(actuador.HayError()) << actuador.MensajeError().toStdString();
    actuador.Parar();
    actuador.Habilitar(true);
    actuador.Mover(dirAvance, giroIzquierda);
    EXPECT_EQ(grabacion.Llamadas(), (std::vector<std::pair<unsigned, unsigned>> {{888, 0}, {888, 0}, {888, 5}}));
}
