// The built-in demo and the demo profile must show the whole program
// working: here the program's gates, drive detection and turn latch are
// replayed over the demo's EmoStates at the program's default thresholds.
#include "EscalasCasco.h"
#include "Escenario.h"
#include "Perfil.h"
#include "Tipos.h"
#include "edk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

using edk::TEscenario;
using edk::TEvento;

constexpr unsigned int UmbralAvRet = UmbralPorDefecto;
constexpr unsigned int UmbralGiro = UmbralPorDefecto;

enum TGiroDemo { Ninguno, Izquierda, Derecha };

// What the program makes of the demo, reading by reading.
struct TResumen {
    double PrimerAlta = -1;
    int Bajas = 0;
    bool ContactosMalos = false, ContactosBuenos = false, SenalMalaTrasContactos = false;
    std::vector<int> PicosAvance, PicosRetroceso; // highest power of each clench or pull
    bool AvanceActivo = false, RetrocesoActivo = false;
    std::vector<TGiroDemo> CambiosDeGiro; // latched side, Ninguno for a release
    std::vector<int> Baterias;
};

TResumen Recorrer(const TEscenario& escenario)
{
    TResumen r;
    edk::TReproductor reproductor(escenario, edk::EstadosPorSegundo, false);
    std::vector<TEvento> eventos;
    for (int paso = 0; !reproductor.Terminado(); ++paso)
        reproductor.Avanzar(paso / 64.0, eventos);

    bool calibrado = true;
    int giroX = 0;
    unsigned int contador = 0;
    bool liberado = false;
    TGiroDemo fijado = Ninguno;
    bool enTirar = false, enApretar = false;
    for (const TEvento& e : eventos) {
        if (e.Tipo == EE_UserAdded && r.PrimerAlta < 0)
            r.PrimerAlta = e.Estado.Tiempo;
        r.Bajas += e.Tipo == EE_UserRemoved;
        if (e.Tipo == edk::TipoInternoGiroCalibrado || e.Tipo == edk::TipoInternoGiroSinCalibrar)
            calibrado = e.Tipo == edk::TipoInternoGiroCalibrado;
        if (e.Tipo != EE_EmoStateUpdated)
            continue;
        const edk::TEstadoEmo& s = e.Estado;
        if (r.Baterias.empty() || r.Baterias.back() != s.Bateria)
            r.Baterias.push_back(s.Bateria);
        const bool usables
            = std::all_of(s.Contactos.begin(), s.Contactos.end(), [](int c) { return c >= ContactoUtilizable; });
        r.ContactosMalos |= !usables && !r.ContactosBuenos;
        r.ContactosBuenos |= usables;
        r.SenalMalaTrasContactos |= r.ContactosBuenos && s.Senal != EDK_SENAL_BUENA;
        if (s.Senal != EDK_SENAL_BUENA || !usables)
            continue; // a rejected EmoState

        // A full reading with the demo profile loaded.
        const bool tirar = s.AccionCognitiva == ACC_COG_TIRAR;
        const bool apretar = !tirar && s.AccionExpresiva == ACC_EXP_APRETAR_DIENTES;
        if (tirar || apretar) {
            const auto potencia
                = static_cast<int>(std::nearbyint((tirar ? s.PotenciaCognitiva : s.PotenciaExpresiva) * EscalaLectura));
            std::vector<int>& picos = tirar ? r.PicosRetroceso : r.PicosAvance;
            if (tirar != enTirar || apretar != enApretar)
                picos.push_back(potencia);
            picos.back() = std::max(picos.back(), potencia);
            (tirar ? r.RetrocesoActivo : r.AvanceActivo) |= potencia >= static_cast<int>(UmbralAvRet);
        }
        enTirar = tirar;
        enApretar = apretar;
        const int previo = giroX;
        giroX = calibrado ? s.GiroX : 0;
        TGiroDemo giro = Ninguno;
        if (std::abs(giroX) > LimiteGiro)
            giro = giroX > 0 && giroX > previo ? Derecha : (giroX < 0 && giroX < previo ? Izquierda : Ninguno);
        const auto magnitud = static_cast<unsigned int>(
            std::min(double(EscalaLectura), std::abs(std::nearbyint(double(giroX) / GiroPorMagnitud))));
        if (++contador > 10) {
            liberado = liberado || giro == Ninguno;
            if (magnitud >= UmbralGiro) {
                if (fijado != Ninguno) {
                    if (liberado && giro == fijado) {
                        fijado = Ninguno;
                        contador = 0;
                        r.CambiosDeGiro.push_back(Ninguno);
                    }
                } else if (giro != Ninguno) {
                    fijado = giro;
                    contador = 0;
                    r.CambiosDeGiro.push_back(giro);
                }
            }
        }
    }
    return r;
}

TEST(Demo, IsAValidScenarioOfAFewMinutes)
{
    const TEscenario& demo = TEscenario::Demo();
    EXPECT_EQ(demo.Error(), "");
    EXPECT_GE(demo.Duracion(), 120);
    EXPECT_LE(demo.Duracion(), 600);
}

TEST(Demo, ShowsEveryPartOfTheProgramAtItsDefaultThresholds)
{
    const TResumen r = Recorrer(TEscenario::Demo());
    EXPECT_GE(r.PrimerAlta, 0);
    EXPECT_LT(r.PrimerAlta, 1);
    EXPECT_EQ(r.Bajas, 1);
    EXPECT_TRUE(r.ContactosMalos && r.ContactosBuenos) << "contacts settle from poor to good";
    EXPECT_TRUE(r.SenalMalaTrasContactos) << "a spell of bad wireless signal";

    EXPECT_TRUE(r.AvanceActivo);
    EXPECT_TRUE(r.RetrocesoActivo);
    // Clenches and pulls of several powers, from below the threshold to strong.
    for (const std::vector<int>* picos : {&r.PicosAvance, &r.PicosRetroceso}) {
        ASSERT_GE(picos->size(), 3u);
        EXPECT_LT(*std::min_element(picos->begin(), picos->end()), static_cast<int>(UmbralAvRet));
        EXPECT_GE(*std::max_element(picos->begin(), picos->end()), 9);
    }

    EXPECT_EQ(r.CambiosDeGiro,
              (std::vector<TGiroDemo> {Derecha, Ninguno, Izquierda, Ninguno, Derecha, Ninguno, Izquierda, Ninguno}));

    ASSERT_GE(r.Baterias.size(), 3u);
    EXPECT_TRUE(std::is_sorted(r.Baterias.rbegin(), r.Baterias.rend())) << "the battery only drains";
}

TEST(Demo, TheDemoProfileIsValidAndTrainsThePull)
{
    edk::TPerfil perfil;
    ASSERT_EQ(perfil.LeerFichero(GEDANKO_RECURSOS "/perfiles/demo.emu"), EDK_SIN_ERRORES) << perfil.Error();
    EXPECT_NE(perfil.Datos().CognitivasEntrenadas & ACC_COG_TIRAR, 0u);
    EXPECT_NE(perfil.Datos().CognitivasActivas & ACC_COG_TIRAR, 0u);
    EXPECT_NE(perfil.Datos().ExpresivasEntrenadas & ACC_EXP_APRETAR_DIENTES, 0u);
}

TEST(Demo, TheResourceFileIsTheBuiltInDemo)
{
    TEscenario fichero;
    ASSERT_TRUE(fichero.LeerFichero(GEDANKO_RECURSOS "/escenarios/demo.esc")) << fichero.Error();
    EXPECT_EQ(fichero.Ordenes().size(), TEscenario::Demo().Ordenes().size());
    EXPECT_EQ(fichero.Duracion(), TEscenario::Demo().Duracion());
}

} // namespace
