// TActuador through real port libraries: the recorder, one without Out32 and
// ones that report whether their port can be reached and why not.
#include "Actuador.h"
#include "Grabacion.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

namespace {

using Valores = std::vector<unsigned>;

// Whether the library at that path is loaded in this process right now.
bool Cargada(const char* ruta)
{
    void* libreria = dlopen(ruta, RTLD_NOW | RTLD_NOLOAD);
    if (libreria)
        dlclose(libreria);
    return libreria != nullptr;
}

class PruebaActuador : public ::testing::Test {
protected:
    TGrabacion FGrabacion;
    TActuador FActuador {GRABADOR_RUTA};
};

TEST_F(PruebaActuador, ArranqueEscribeDosParadasYQuedaApagado)
{
    ASSERT_FALSE(FActuador.HayError());
    EXPECT_TRUE(FActuador.MensajeError().isEmpty());
    EXPECT_TRUE(FActuador.CausaError().isEmpty());
    EXPECT_EQ(FGrabacion.Valores(), Valores {}) << "construction writes nothing";

    // Start-up: Parar, then Habilitar with the toggle, which starts off.
    EXPECT_TRUE(FActuador.Parar());
    EXPECT_FALSE(FActuador.Habilitar(false));
    EXPECT_EQ(FGrabacion.Valores(), (Valores {0, 0}));
    EXPECT_FALSE(FActuador.Habilitado());
}

TEST_F(PruebaActuador, CadaOrdenEsUnByteSegunLaTabla)
{
    struct TCaso {
        TDireccion Direccion;
        TGiro Giro;
        unsigned Byte;
    };
    const TCaso casos[] = {
        {dirNinguna, giroNinguno, 0x00},   {dirNinguna, giroIzquierda, 0x04},   {dirNinguna, giroDerecha, 0x08},
        {dirNeutral, giroNinguno, 0x00},   {dirNeutral, giroIzquierda, 0x04},   {dirNeutral, giroDerecha, 0x08},
        {dirAvance, giroNinguno, 0x01},    {dirAvance, giroIzquierda, 0x05},    {dirAvance, giroDerecha, 0x09},
        {dirRetroceso, giroNinguno, 0x02}, {dirRetroceso, giroIzquierda, 0x06}, {dirRetroceso, giroDerecha, 0x0A},
    };
    ASSERT_TRUE(FActuador.Habilitar(true));
    Valores esperados {0}; // switching on stops the vehicle first
    for (const TCaso& caso : casos) {
        EXPECT_TRUE(FActuador.Mover(caso.Direccion, caso.Giro));
        esperados.push_back(caso.Byte);
    }
    EXPECT_EQ(FGrabacion.Valores(), esperados);
}

TEST_F(PruebaActuador, ApagadoNoEscribeNadaYConmutarEscribeParadaAlMomento)
{
    EXPECT_FALSE(FActuador.Mover(dirAvance, giroIzquierda));
    EXPECT_EQ(FGrabacion.Valores(), Valores {});

    EXPECT_TRUE(FActuador.Habilitar(true));
    EXPECT_TRUE(FActuador.Mover(dirAvance, giroNinguno));
    EXPECT_FALSE(FActuador.Habilitar(false)); // the vehicle was moving
    EXPECT_FALSE(FActuador.Mover(dirRetroceso, giroDerecha));
    EXPECT_TRUE(FActuador.Habilitar(true));
    EXPECT_TRUE(FActuador.Habilitar(true)); // each switch writes, even to the same state
    EXPECT_EQ(FGrabacion.Valores(), (Valores {0x00, 0x01, 0x00, 0x00, 0x00}));
}

TEST_F(PruebaActuador, LaDestruccionDejaElUltimoByteEnElPuerto)
{
    auto actuador = std::make_unique<TActuador>(GRABADOR_RUTA);
    actuador->Habilitar(true);
    actuador->Mover(dirRetroceso, giroIzquierda);
    actuador.reset();
    EXPECT_EQ(FGrabacion.Valores(), (Valores {0x00, 0x06}));
}

TEST(PruebaActuadorCarga, UnaLibreriaQueNoAlcanzaElPuertoNoCuentaComoCargada)
{
    TGrabacion grabacion;
    {
        TActuador cerrado(CERRADO_RUTA);
        EXPECT_TRUE(cerrado.HayError());
        EXPECT_FALSE(Cargada(CERRADO_RUTA)) << "released at once";
    }
    TActuador abierto(ABIERTO_RUTA);
    EXPECT_FALSE(abierto.HayError());
    EXPECT_TRUE(abierto.Habilitar(true));
    EXPECT_TRUE(abierto.Mover(dirAvance, giroDerecha));
    EXPECT_EQ(grabacion.Valores(), (Valores {0x00, 0x09}));
}

TEST(PruebaActuadorCarga, SinFuncionDeSalidaLaLibreriaSigueCargadaHastaLaDestruccion)
{
    {
        TActuador actuador(SIN_SALIDA_RUTA);
        EXPECT_TRUE(actuador.HayError());
        EXPECT_TRUE(Cargada(SIN_SALIDA_RUTA));
    }
    EXPECT_FALSE(Cargada(SIN_SALIDA_RUTA));
}

TEST(PruebaActuadorCarga, NuestraLibreriaEstaJuntoAlProgramaYSoloExportaSusTresFunciones)
{
    const std::filesystem::path ruta = std::filesystem::canonical("/proc/self/exe").parent_path() / "libinpout32.so";
    void* libreria = dlopen(ruta.c_str(), RTLD_NOW);
    ASSERT_NE(libreria, nullptr) << dlerror();
    EXPECT_NE(dlsym(libreria, "Out32"), nullptr);
    const auto abierto = reinterpret_cast<int (*)()>(dlsym(libreria, "IsInpOutDriverOpen"));
    const auto causa = reinterpret_cast<int (*)()>(dlsym(libreria, "CausaPuertoCerrado"));
    EXPECT_EQ(dlsym(libreria, "_ZN15TPuertoParalelo5AbrirEv"), nullptr) << "internals stay hidden";
    ASSERT_NE(abierto, nullptr);
    ASSERT_NE(causa, nullptr);
    // Asked first, the cause still comes from a real attempt to open the
    // port: a cause exactly when the port is closed, whatever this machine has.
    const int causaPrimero = causa();
    EXPECT_EQ(causaPrimero == 0, abierto() == 1) << "cause " << causaPrimero;
    dlclose(libreria);
}

struct TFalloCarga {
    const char* Nombre;
    const char* Libreria;
    const char* Mensaje;
    const char* Causa; // a part of the second line that only this cause gives
};

void PrintTo(const TFalloCarga& fallo, std::ostream* salida)
{
    *salida << fallo.Nombre;
}

class PruebaActuadorFallo : public ::testing::TestWithParam<TFalloCarga> { };

TEST_P(PruebaActuadorFallo, QuedaInutilizableConSuMensajeYNoEscribeNunca)
{
    TGrabacion grabacion;
    TActuador actuador(GetParam().Libreria);

    EXPECT_TRUE(actuador.HayError());
    EXPECT_EQ(actuador.MensajeError(), QString::fromUtf8(GetParam().Mensaje));
    EXPECT_FALSE(actuador.Habilitar(true)) << "never on while in error";
    EXPECT_FALSE(actuador.Habilitado());
    EXPECT_FALSE(actuador.Mover(dirAvance, giroIzquierda));
    EXPECT_FALSE(actuador.Parar()) << "nothing can be written without Out32";
    EXPECT_FALSE(actuador.Habilitar(false));
    EXPECT_EQ(grabacion.Valores(), Valores {});
}

TEST_P(PruebaActuadorFallo, LaCausaDiceElMotivoYRemiteALaGuiaDelPuerto)
{
    TActuador actuador(GetParam().Libreria);
    const QString causa = actuador.CausaError();
    EXPECT_TRUE(causa.contains(QString::fromUtf8(GetParam().Causa))) << causa.toStdString();
    EXPECT_TRUE(causa.endsWith(QStringLiteral("; vea docs/puerto.md."))) << causa.toStdString();
}

#define PUERTO_CON_CAUSA(nombre) CARPETA_PUERTOS "/libcausa_" nombre ".so"

const TFalloCarga FallosCarga[] = {
    {"SinLibreria", "/no/existe/libinpout32.so", "Error cargando dll", "No se encuentra libinpout32.so"},
    {"SinNombre", "", "Error cargando dll", "No se encuentra libinpout32.so"},
    {"SinOut32", SIN_SALIDA_RUTA, "Error obteniendo el puntero a la función de salida", "no tiene la función Out32"},
    {"PuertoInalcanzableSinCausa", CERRADO_RUTA, "Error cargando dll", "dice que no alcanza el puerto"},
    {"SinPuertoEn888", PUERTO_CON_CAUSA("sin_puerto"), "Error cargando dll",
     "No hay ningún puerto paralelo en la dirección 888"},
    {"SinDispositivo", PUERTO_CON_CAUSA("sin_dispositivo"), "Error cargando dll", "falta ppdev"},
    {"SinPermiso", PUERTO_CON_CAUSA("sin_permiso"), "Error cargando dll", "Sin permiso para abrir"},
    {"DispositivoFallido", PUERTO_CON_CAUSA("dispositivo_fallido"), "Error cargando dll",
     "No se puede abrir ni reservar"},
    {"CausaDesconocida", PUERTO_CON_CAUSA("desconocida"), "Error cargando dll", "dice que no alcanza el puerto"},
};

INSTANTIATE_TEST_SUITE_P(Casos, PruebaActuadorFallo, ::testing::ValuesIn(FallosCarga),
                         [](const auto& caso) { return std::string(caso.param.Nombre); });

} // namespace
