// Action names of the text formats, one table per suite.
#include "Acciones.h"

#include "Texto.h"
#include "edk.h"

#include <array>
#include <span>

namespace edk {

namespace {

    struct TNombreAccion {
        std::string_view Nombre;
        std::uint32_t Bit;
    };

    constexpr std::array<TNombreAccion, 14> Cognitivas = {{
        {"neutral", ACC_COG_NEUTRAL},
        {"empujar", ACC_COG_EMPUJAR},
        {"tirar", ACC_COG_TIRAR},
        {"arriba", ACC_COG_ARRIBA},
        {"abajo", ACC_COG_ABAJO},
        {"izquierda", ACC_COG_IZQUIERDA},
        {"derecha", ACC_COG_DERECHA},
        {"rot-izquierda", ACC_COG_ROT_IZQUIERDA},
        {"rot-derecha", ACC_COG_ROT_DERECHA},
        {"rot-reloj", ACC_COG_ROT_RELOJ},
        {"rot-contrarreloj", ACC_COG_ROT_CONTRARRELOJ},
        {"rot-directa", ACC_COG_ROT_DIRECTA},
        {"rot-inversa", ACC_COG_ROT_INVERSA},
        {"desvanecer", ACC_COG_DESVANECER},
    }};

    constexpr std::array<TNombreAccion, 12> Expresivas = {{
        {"neutral", ACC_EXP_NEUTRAL},
        {"parpadear", ACC_EXP_PARPADEAR},
        {"guino-izq", ACC_EXP_GUINO_IZQ},
        {"guino-der", ACC_EXP_GUINO_DER},
        {"mirar-izq-der", ACC_EXP_MIRAR_IZQ_DER},
        {"subir-entrecejo", ACC_EXP_SUBIR_ENTRECEJO},
        {"fruncir-entrecejo", ACC_EXP_FRUNCIR_ENTRECEJO},
        {"sonreir", ACC_EXP_SONREIR},
        {"apretar", ACC_EXP_APRETAR_DIENTES},
        {"reir", ACC_EXP_REIR},
        {"mejilla-izq", ACC_EXP_MEJILLA_IZQ},
        {"mejilla-der", ACC_EXP_MEJILLA_DER},
    }};

    std::span<const TNombreAccion> Tabla(TSuite suite)
    {
        if (suite == TSuite::Cognitiva)
            return Cognitivas;
        return Expresivas;
    }

    bool LeerNombre(std::string_view texto, TSuite suite, std::uint32_t& bit)
    {
        for (const TNombreAccion& accion : Tabla(suite))
            if (accion.Nombre == texto) {
                bit = accion.Bit;
                return true;
            }
        return false;
    }

    bool LeerNumero(std::string_view texto, TSuite suite, std::uint32_t& palabra)
    {
        long long numero = 0;
        if (!LeerEnteroEntre(texto, 0, 0xFFFFFFFFLL, numero))
            return false;
        const auto leido = static_cast<std::uint32_t>(numero);
        if ((leido & ~BitsConocidos(suite)) != 0)
            return false;
        palabra = leido;
        return true;
    }

} // namespace

std::uint32_t BitsConocidos(TSuite suite)
{
    std::uint32_t bits = 0;
    for (const TNombreAccion& accion : Tabla(suite))
        bits |= accion.Bit;
    return bits;
}

bool LeerAccion(std::string_view texto, TSuite suite, std::uint32_t& bit)
{
    std::uint32_t leido = 0;
    if (!LeerNombre(texto, suite, leido)) {
        if (!LeerNumero(texto, suite, leido) || leido == 0 || (leido & (leido - 1)) != 0)
            return false;
    }
    bit = leido;
    return true;
}

bool LeerPalabraAcciones(std::string_view texto, TSuite suite, std::uint32_t& palabra)
{
    std::uint32_t leido = 0;
    if (LeerNumero(texto, suite, leido)) {
        palabra = leido;
        return true;
    }
    for (const std::string_view nombre : Partir(texto, '+')) {
        std::uint32_t bit = 0;
        if (!LeerNombre(nombre, suite, bit))
            return false;
        leido |= bit;
    }
    palabra = leido;
    return true;
}

} // namespace edk
