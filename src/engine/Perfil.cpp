// Strict reader of .emu profiles: a header line, then one key = value per
// line; every key exactly once.
#include "Perfil.h"

#include "Acciones.h"
#include "Texto.h"
#include "edk.h"

#include <bit>
#include <functional>
#include <vector>

namespace edk {

namespace {

    using TLectorValor = std::function<bool(std::string_view, TDatosPerfil&, std::string&)>;

    struct TClave {
        std::string_view Nombre;
        TLectorValor Lector;
    };

    bool LeerSensibilidadApretar(std::string_view v, TDatosPerfil& d, std::string& error)
    {
        long long n = 0;
        if (!LeerEnteroEntre(v, SensibilidadAvanceMinima, SensibilidadAvanceMaxima, n)) {
            error = "se espera un entero de 0 a 1000";
            return false;
        }
        d.SensibilidadApretar = static_cast<int>(n);
        return true;
    }

    bool LeerSensibilidadesCognitivas(std::string_view v, TDatosPerfil& d, std::string& error)
    {
        const std::vector<std::string_view> partes = Partir(v, ',');
        if (partes.size() != d.SensibilidadesCognitivas.size()) {
            error = "se esperan cuatro enteros de 1 a 9 separados por comas";
            return false;
        }
        std::array<int, NumRanurasCognitivas> leidas {};
        for (std::size_t i = 0; i < partes.size(); ++i) {
            long long n = 0;
            if (!LeerEnteroEntre(Recortar(partes[i]), SensibilidadCognitivaMinima, SensibilidadCognitivaMaxima, n)) {
                error = "se esperan cuatro enteros de 1 a 9 separados por comas";
                return false;
            }
            leidas[i] = static_cast<int>(n);
        }
        d.SensibilidadesCognitivas = leidas;
        return true;
    }

    TLectorValor LectorPalabra(TSuite suite, std::uint32_t TDatosPerfil::*campo)
    {
        return [suite, campo](std::string_view v, TDatosPerfil& d, std::string& error) {
            std::uint32_t palabra = 0;
            if (!LeerPalabraAcciones(v, suite, palabra)) {
                error = "acciones no válidas '" + std::string(v) + "'";
                return false;
            }
            const std::uint32_t neutral
                = suite == TSuite::Cognitiva ? std::uint32_t {ACC_COG_NEUTRAL} : std::uint32_t {ACC_EXP_NEUTRAL};
            if ((palabra & neutral) == 0) {
                error = "la acción neutral debe estar incluida";
                return false;
            }
            d.*campo = palabra;
            return true;
        };
    }

    bool LeerNivel(std::string_view v, TDatosPerfil& d, std::string& error)
    {
        double nivel = 0;
        if (!LeerReal(v, nivel) || nivel < 0 || nivel > 1) {
            error = "se espera un número de 0 a 1";
            return false;
        }
        d.NivelEntrenamiento = static_cast<float>(nivel);
        return true;
    }

    const std::array<TClave, 6>& Claves()
    {
        static const std::array<TClave, 6> claves = {{
            {"sensibilidad-apretar", LeerSensibilidadApretar},
            {"sensibilidades-cognitivas", LeerSensibilidadesCognitivas},
            {"cognitivas-entrenadas", LectorPalabra(TSuite::Cognitiva, &TDatosPerfil::CognitivasEntrenadas)},
            {"cognitivas-activas", LectorPalabra(TSuite::Cognitiva, &TDatosPerfil::CognitivasActivas)},
            {"expresivas-entrenadas", LectorPalabra(TSuite::Expresiva, &TDatosPerfil::ExpresivasEntrenadas)},
            {"nivel-entrenamiento", LeerNivel},
        }};
        return claves;
    }

    std::string EnLinea(std::size_t linea, std::string_view motivo)
    {
        return "línea " + std::to_string(linea) + ": " + std::string(motivo);
    }

} // namespace

bool TPerfil::Leer(std::string_view texto)
{
    if (texto.size() > TamanoMaximoPerfil) {
        FError = "el perfil es demasiado grande";
        return false;
    }
    if (texto.starts_with("\xEF\xBB\xBF"))
        texto.remove_prefix(3);

    TDatosPerfil datos;
    std::array<std::size_t, 6> vistas {}; // line of each key, 0 while unseen
    bool cabecera = false;
    std::size_t numero = 0;
    for (const std::string_view bruta : Partir(texto, '\n')) {
        ++numero;
        if (bruta.find('\0') != std::string_view::npos) {
            FError = EnLinea(numero, "carácter nulo");
            return false;
        }
        if (!cabecera) {
            if (Recortar(bruta) != CabeceraPerfil) {
                FError = EnLinea(numero, "se esperaba la cabecera '" + std::string(CabeceraPerfil) + "'");
                return false;
            }
            cabecera = true;
            continue;
        }
        const std::string_view linea = Recortar(SinComentario(bruta));
        if (linea.empty())
            continue;
        const std::size_t igual = linea.find('=');
        if (igual == std::string_view::npos) {
            FError = EnLinea(numero, "se esperaba 'clave = valor'");
            return false;
        }
        const std::string_view clave = Recortar(linea.substr(0, igual));
        const std::string_view valor = Recortar(linea.substr(igual + 1));
        std::size_t indice = 0;
        while (indice < Claves().size() && Claves()[indice].Nombre != clave)
            ++indice;
        if (indice == Claves().size()) {
            FError = EnLinea(numero, "clave desconocida '" + std::string(clave) + "'");
            return false;
        }
        if (vistas[indice] != 0) {
            FError = EnLinea(numero, "clave repetida '" + std::string(clave) + "'");
            return false;
        }
        vistas[indice] = numero;
        std::string motivo;
        if (!Claves()[indice].Lector(valor, datos, motivo)) {
            FError = EnLinea(numero, std::string(clave) + ": " + motivo);
            return false;
        }
    }
    if (!cabecera) {
        FError = EnLinea(1, "se esperaba la cabecera '" + std::string(CabeceraPerfil) + "'");
        return false;
    }
    for (std::size_t i = 0; i < vistas.size(); ++i)
        if (vistas[i] == 0) {
            FError = "falta la clave '" + std::string(Claves()[i].Nombre) + "'";
            return false;
        }
    if ((datos.CognitivasActivas & ~datos.CognitivasEntrenadas) != 0) {
        FError = EnLinea(vistas[3], "cognitivas-activas: solo pueden activarse acciones entrenadas");
        return false;
    }
    if (std::popcount(datos.CognitivasActivas & ~std::uint32_t {ACC_COG_NEUTRAL}) > NumRanurasCognitivas) {
        FError = EnLinea(vistas[3], "cognitivas-activas: como mucho cuatro acciones además de neutral");
        return false;
    }
    FDatos = datos;
    FError.clear();
    return true;
}

int TPerfil::LeerFichero(const std::string& ruta)
{
    std::string texto;
    switch (LeerFicheroTexto(ruta, TamanoMaximoPerfil, texto)) {
    case TLecturaFichero::NoLegible:
        FError = "no se puede leer el fichero";
        return EDK_ERROR_FICHEROS;
    case TLecturaFichero::DemasiadoGrande:
        FError = "el perfil es demasiado grande";
        return EDK_PERFIL_NO_VALIDO;
    case TLecturaFichero::Leido:
        break;
    }
    return Leer(texto) ? EDK_SIN_ERRORES : EDK_PERFIL_NO_VALIDO;
}

} // namespace edk
