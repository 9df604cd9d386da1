// The emulator's logic without sockets: console commands, options and the
// per-client playback with the live state laid over the scenario.
#include "Escenario.h"
#include "EstadoVivo.h"
#include "Opciones.h"
#include "Ordenes.h"
#include "Protocolo.h"
#include "Sesion.h"
#include "edk.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using emulador::TEstadoVivo;
using emulador::TOrdenes;

std::vector<edk::TEvento> Eventos(const std::string& salida)
{
    std::vector<edk::TEvento> eventos;
    std::istringstream lineas(salida);
    std::string linea;
    while (std::getline(lineas, linea)) {
        edk::TEvento e;
        EXPECT_TRUE(edk::InterpretarLinea(linea, e)) << linea;
        eventos.push_back(e);
    }
    return eventos;
}

std::vector<edk::TEvento> DelTipo(const std::vector<edk::TEvento>& eventos, int tipo)
{
    std::vector<edk::TEvento> r;
    for (const edk::TEvento& e : eventos)
        if (e.Tipo == tipo)
            r.push_back(e);
    return r;
}

edk::TEscenario Escenario(const char* texto)
{
    edk::TEscenario e;
    EXPECT_TRUE(e.Leer(texto)) << e.Error();
    return e;
}

} // namespace

TEST(OrdenesEmulador, CambianElEstadoEnviado)
{
    struct TCaso {
        const char* Linea;
        void (*Comprobar)(const edk::TEstadoEmo&);
    };
    const TCaso casos[] = {
        {"apretar 0.8",
         [](const edk::TEstadoEmo& e) {
             EXPECT_EQ(e.AccionExpresiva, 0x0100u);
             EXPECT_FLOAT_EQ(e.PotenciaExpresiva, 0.8f);
         }},
        {"apretar 0,25", [](const edk::TEstadoEmo& e) { EXPECT_FLOAT_EQ(e.PotenciaExpresiva, 0.25f); }},
        {"apretar", [](const edk::TEstadoEmo& e) { EXPECT_FLOAT_EQ(e.PotenciaExpresiva, 1.0f); }},
        {"  tirar   0.5 ",
         [](const edk::TEstadoEmo& e) {
             EXPECT_EQ(e.AccionCognitiva, 0x0004u);
             EXPECT_FLOAT_EQ(e.PotenciaCognitiva, 0.5f);
         }},
        {"izquierda", [](const edk::TEstadoEmo& e) { EXPECT_EQ(e.GiroX, -150); }},
        {"derecha 10", [](const edk::TEstadoEmo& e) { EXPECT_EQ(e.GiroX, 300); }},
        {"senal 1", [](const edk::TEstadoEmo& e) { EXPECT_EQ(e.Senal, 1); }},
        {"señal 0", [](const edk::TEstadoEmo& e) { EXPECT_EQ(e.Senal, 0); }},
        {"contactos 3",
         [](const edk::TEstadoEmo& e) {
             EXPECT_EQ(e.Contactos[0], 3);
             EXPECT_EQ(e.Contactos[17], 3);
         }},
        {"contactos 17 1",
         [](const edk::TEstadoEmo& e) {
             EXPECT_EQ(e.Contactos[17], 1);
             EXPECT_EQ(e.Contactos[16], 9);
         }},
        {"bateria 2 5",
         [](const edk::TEstadoEmo& e) {
             EXPECT_EQ(e.Bateria, 2);
             EXPECT_EQ(e.BateriaMax, 5);
         }},
        {"bateria 4",
         [](const edk::TEstadoEmo& e) {
             EXPECT_EQ(e.Bateria, 4);
             EXPECT_EQ(e.BateriaMax, 4);
         }},
    };
    for (const TCaso& c : casos) {
        SCOPED_TRACE(c.Linea);
        TEstadoVivo vivo;
        const emulador::TRespuestaOrden r = TOrdenes::Ejecutar(c.Linea, vivo);
        EXPECT_TRUE(r.Valida) << r.Texto;
        EXPECT_EQ(r.Accion, emulador::aoNinguna);
        edk::TEstadoEmo e;
        e.Contactos.fill(9); // marks the channels a command must leave alone
        vivo.Aplicar(e);
        c.Comprobar(e);
    }
}

TEST(OrdenesEmulador, OrdenesNoValidasNoCambianNada)
{
    for (const char* linea :
         {"apretar 1.5", "apretar -0.1", "apretar x", "apretar nan", "tirar 0.5 0.5", "izquierda 11", "derecha -1",
          "senal 3", "senal", "contactos 5", "contactos 18 2", "contactos 1 2 3", "bateria 5 4", "bateria -1",
          "bateria 1001", "neutro 1", "volar", "APRETAR", "a b c d e f"}) {
        TEstadoVivo vivo;
        const emulador::TRespuestaOrden r = TOrdenes::Ejecutar(linea, vivo);
        EXPECT_FALSE(r.Valida) << linea;
        EXPECT_FALSE(r.Texto.empty()) << linea;
        edk::TEstadoEmo e;
        edk::TEstadoEmo antes = e;
        vivo.Aplicar(e);
        EXPECT_EQ(e.AccionExpresiva, antes.AccionExpresiva) << linea;
        EXPECT_EQ(e.Senal, antes.Senal) << linea;
        EXPECT_EQ(e.Contactos, antes.Contactos) << linea;
        EXPECT_EQ(e.Bateria, antes.Bateria) << linea;
        EXPECT_EQ(e.GiroX, antes.GiroX) << linea;
    }
}

TEST(OrdenesEmulador, CascoGiroscopioRestablecerYSalir)
{
    TEstadoVivo vivo;
    EXPECT_EQ(TOrdenes::Ejecutar("poner", vivo).Accion, emulador::aoNinguna); // already on
    EXPECT_EQ(TOrdenes::Ejecutar("quitar", vivo).Accion, emulador::aoQuitarCasco);
    EXPECT_FALSE(vivo.CascoPuesto());
    EXPECT_EQ(TOrdenes::Ejecutar("quitar", vivo).Accion, emulador::aoNinguna);
    EXPECT_EQ(TOrdenes::Ejecutar("poner", vivo).Accion, emulador::aoPonerCasco);
    EXPECT_TRUE(vivo.CascoPuesto());
    EXPECT_EQ(TOrdenes::Ejecutar("calibrar", vivo).Accion, emulador::aoGiroCalibrado);
    EXPECT_EQ(TOrdenes::Ejecutar("descalibrar", vivo).Accion, emulador::aoGiroSinCalibrar);
    EXPECT_EQ(TOrdenes::Ejecutar("salir", vivo).Accion, emulador::aoSalir);

    TOrdenes::Ejecutar("apretar 0.5", vivo);
    TOrdenes::Ejecutar("quitar", vivo);
    EXPECT_TRUE(TOrdenes::Ejecutar("restablecer", vivo).Valida);
    EXPECT_FALSE(vivo.CascoPuesto()); // restoring the scenario's values leaves the headset alone
    edk::TEstadoEmo e;
    vivo.Aplicar(e);
    EXPECT_EQ(e.AccionExpresiva, 0x0001u);

    const std::string ayuda = TOrdenes::Ejecutar("ayuda", vivo).Texto;
    for (const char* orden :
         {"apretar", "tirar", "izquierda", "derecha", "senal", "contactos", "bateria", "quitar", "poner", "salir"})
        EXPECT_NE(ayuda.find(orden), std::string::npos) << orden;
}

TEST(OpcionesEmulador, Casos)
{
    struct TCaso {
        std::vector<const char*> Args;
        bool Valida;
    };
    const TCaso casos[] = {
        {{}, true},
        {{"--puerto", "0"}, true},
        {{"--puerto", "65535", "--tasa", "1000", "--bucle", "--direccion", "127.0.0.2", "--escenario", "a.esc"}, true},
        {{"--help"}, true},
        {{"--puerto", "65536"}, false},
        {{"--puerto", "-1"}, false},
        {{"--puerto"}, false},
        {{"--tasa", "0"}, false},
        {{"--tasa", "2.5"}, false},
        {{"--direccion", "localhost"}, false},
        {{"--otra"}, false},
        {{"--osc", "0", "--osc-desde", "192.168.1.5", "--mapa", "muse"}, true},
        {{"--osc-desde", "127.0.0.1"}, false},
        {{"--osc", "0", "--osc-desde", "movil"}, false},
        {{"--puerto", "1", "--puerto", "2"}, false},
        {{"--bucle", "--bucle"}, false},
        {{"--osc", "0", "--mapa", "muse", "--mapa", "generico"}, false},
    };
    for (const TCaso& c : casos) {
        std::vector<const char*> argv {"gedanko-emulador"};
        argv.insert(argv.end(), c.Args.begin(), c.Args.end());
        emulador::TOpciones o;
        EXPECT_EQ(o.Leer(static_cast<int>(argv.size()), argv.data()), c.Valida) << (c.Args.empty() ? "" : c.Args[0]);
        EXPECT_EQ(o.Error().empty(), c.Valida);
    }
    emulador::TOpciones o;
    const char* argv[] = {"x", "--puerto", "4000", "--tasa", "8", "--bucle", "--escenario", "e.esc"};
    ASSERT_TRUE(o.Leer(8, argv));
    EXPECT_EQ(o.Puerto, 4000);
    EXPECT_EQ(o.Tasa, 8);
    EXPECT_TRUE(o.Bucle);
    EXPECT_EQ(o.Escenario, "e.esc");
    EXPECT_EQ(o.Direccion, "127.0.0.1");
}

TEST(SesionEmulador, EstadosDelEscenarioConElEstadoVivoEncima)
{
    const edk::TEscenario escenario = Escenario("0 alta 3\n1 fin\n");
    emulador::TSesion sesion(escenario, 10, false);
    TEstadoVivo vivo;
    std::string salida;
    sesion.Avanzar(0.45, vivo, salida);
    std::vector<edk::TEvento> ev = Eventos(salida);
    ASSERT_FALSE(ev.empty());
    EXPECT_EQ(ev.front().Tipo, EE_UserAdded);
    EXPECT_EQ(ev.front().Usuario, 3u);
    const std::size_t estados = DelTipo(ev, EE_EmoStateUpdated).size();
    EXPECT_GE(estados, 4u);
    EXPECT_LE(estados, 6u);

    TOrdenes::Ejecutar("apretar 0.8", vivo);
    salida.clear();
    sesion.Avanzar(0.75, vivo, salida);
    ev = DelTipo(Eventos(salida), EE_EmoStateUpdated);
    ASSERT_FALSE(ev.empty());
    for (const edk::TEvento& e : ev) {
        EXPECT_EQ(e.Usuario, 3u);
        EXPECT_EQ(e.Estado.AccionExpresiva, 0x0100u);
        EXPECT_FLOAT_EQ(e.Estado.PotenciaExpresiva, 0.8f);
    }
}

TEST(SesionEmulador, CascoQuitadoEnLaConsolaCallaLosEstados)
{
    const edk::TEscenario escenario = Escenario("0 alta 1\n2 fin\n");
    emulador::TSesion sesion(escenario, 10, false);
    TEstadoVivo vivo;
    std::string salida;
    sesion.Avanzar(0.2, vivo, salida);

    salida.clear();
    ASSERT_EQ(TOrdenes::Ejecutar("quitar", vivo).Accion, emulador::aoQuitarCasco);
    sesion.Anunciar(emulador::aoQuitarCasco, salida);
    sesion.Avanzar(0.8, vivo, salida);
    std::vector<edk::TEvento> ev = Eventos(salida);
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].Tipo, EE_UserRemoved);
    EXPECT_EQ(ev[0].Usuario, 1u);

    salida.clear();
    TOrdenes::Ejecutar("poner", vivo);
    sesion.Anunciar(emulador::aoPonerCasco, salida);
    sesion.Avanzar(1.2, vivo, salida);
    ev = Eventos(salida);
    ASSERT_GE(ev.size(), 2u);
    EXPECT_EQ(ev[0].Tipo, EE_UserAdded);
    EXPECT_FALSE(DelTipo(ev, EE_EmoStateUpdated).empty());
}

TEST(SesionEmulador, TrasElFinalSigueElUltimoEstadoYElTiempoAvanza)
{
    const edk::TEscenario escenario = Escenario("0 alta 1\n0 senal 1\n0.5 fin\n");
    emulador::TSesion sesion(escenario, 10, false);
    TEstadoVivo vivo;
    std::string salida;
    sesion.Avanzar(1.0, vivo, salida);
    salida.clear();
    TOrdenes::Ejecutar("tirar 0.3", vivo);
    sesion.Avanzar(2.0, vivo, salida);
    const std::vector<edk::TEvento> ev = DelTipo(Eventos(salida), EE_EmoStateUpdated);
    ASSERT_GE(ev.size(), 8u);
    for (std::size_t i = 0; i < ev.size(); ++i) {
        EXPECT_EQ(ev[i].Estado.Senal, 1);
        EXPECT_EQ(ev[i].Estado.AccionCognitiva, 0x0004u);
        if (i > 0) {
            EXPECT_GT(ev[i].Estado.Tiempo, ev[i - 1].Estado.Tiempo);
        }
    }
}

TEST(SesionEmulador, MismoRelojMismaSalida)
{
    const edk::TEscenario& demo = edk::TEscenario::Demo();
    emulador::TSesion a(demo, 32, true);
    emulador::TSesion b(demo, 32, true);
    TEstadoVivo vivo;
    std::string sa;
    std::string sb;
    for (double t = 0; t < 3; t += 0.05) {
        a.Avanzar(t, vivo, sa);
        b.Avanzar(t, vivo, sb);
    }
    EXPECT_FALSE(sa.empty());
    EXPECT_EQ(sa, sb);
    EXPECT_EQ(a.Omitidos(), 0u);
    EXPECT_FALSE(DelTipo(Eventos(sa), EE_UserAdded).empty());
}
