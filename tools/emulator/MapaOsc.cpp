// Strict reader of the OSC mapping format: "<address> <argument> <target>
// [option value]..." per line, '#' starts a comment.
#include "MapaOsc.h"

#include "EscalasCasco.h"
#include "Modelo.h"
#include "Texto.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace emulador {

namespace {

    constexpr std::size_t ErroresMaximos = 10;
    // Largest magnitude of a scale, offset or threshold; far beyond any use,
    // it keeps the arithmetic on received values finite.
    constexpr double MagnitudMaxima = 1e9;
    constexpr double RetencionMaxima = 3600;

    struct TNombreDestino {
        std::string_view Nombre;
        TDestinoOsc Destino;
    };
    constexpr std::array<TNombreDestino, 9> Destinos = {{
        {"avance", TDestinoOsc::Avance},
        {"retroceso", TDestinoOsc::Retroceso},
        {"giro", TDestinoOsc::Giro},
        {"giro-velocidad", TDestinoOsc::GiroVelocidad},
        {"contacto", TDestinoOsc::Contacto},
        {"senal", TDestinoOsc::Senal},
        {"bateria", TDestinoOsc::Bateria},
        {"bateria-maxima", TDestinoOsc::BateriaMaxima},
        {"casco", TDestinoOsc::Casco},
    }};

    std::string Citar(std::string_view texto)
    {
        constexpr std::size_t Maximo = 40;
        std::string citado(1, '\'');
        citado.append(texto.substr(0, Maximo)).append(texto.size() > Maximo ? "...'" : "'");
        return citado;
    }

    bool DireccionValida(std::string_view d)
    {
        if (d.size() < 2 || d.size() > DireccionOscMaxima || d.front() != '/')
            return false;
        return std::all_of(d.begin(), d.end(), [](char c) {
            const auto u = static_cast<unsigned char>(c);
            return u > ' ' && u < 0x7F && c != '#' && c != '*' && c != '?' && c != ',' && c != '[' && c != '{';
        });
    }

    std::optional<std::string> Canales(std::string_view texto, std::vector<int>& canales)
    {
        for (const std::string_view parte : edk::Partir(texto, ',')) {
            long long n = 0;
            if (!edk::LeerEnteroEntre(parte, 0, edk::NumCanales - 1, n))
                return "canal no válido " + Citar(parte) + " (0..17, separados por comas)";
            canales.push_back(static_cast<int>(n));
        }
        return std::nullopt;
    }

    std::optional<std::string> Opcion(std::string_view nombre, std::string_view valor, TReglaOsc& regla)
    {
        double v = 0;
        if (!edk::LeerReal(valor, v) || std::fabs(v) > MagnitudMaxima)
            return "valor no válido " + Citar(valor) + " para '" + std::string(nombre) + "'";
        if (nombre == "escala") {
            regla.Escala = v;
        } else if (nombre == "desplazamiento") {
            regla.Desplazamiento = v;
        } else if (nombre == "umbral") {
            if (v < 0)
                return "el umbral no puede ser negativo " + Citar(valor);
            regla.Umbral = v;
        } else if (nombre == "retencion") {
            if (v < 0 || v > RetencionMaxima)
                return "retención no válida " + Citar(valor) + " (segundos de 0 a 3600)";
            regla.Retencion = v;
        } else {
            return "opción desconocida " + Citar(nombre) + " (se esperaba escala, desplazamiento, umbral o retencion)";
        }
        return std::nullopt;
    }

    // Reads the lines of one map, one at a time.
    class TLector {
    public:
        std::vector<TReglaOsc> Reglas;
        std::optional<int> OtrosContactos;
        std::vector<std::string> Errores;
        std::size_t Callados = 0; // errors beyond those listed

        void Linea(std::size_t numero, std::string_view texto)
        {
            if (texto.find('\0') != std::string_view::npos) {
                Fallo(numero, "carácter nulo");
                return;
            }
            const std::vector<std::string_view> t = edk::Trocear(edk::SinComentario(texto));
            if (t.empty())
                return;
            if (const std::optional<std::string> error = t[0] == "otros-contactos" ? Otros(t) : Regla(numero, t))
                Fallo(numero, *error);
        }

    private:
        void Fallo(std::size_t numero, const std::string& motivo)
        {
            if (Errores.size() < ErroresMaximos)
                Errores.push_back("línea " + std::to_string(numero) + ": " + motivo);
            else
                ++Callados;
        }

        std::optional<std::string> Otros(const std::vector<std::string_view>& t)
        {
            long long n = 0;
            if (t.size() != 2 || !edk::LeerEnteroEntre(t[1], ContactoMinimo, ContactoMaximo, n))
                return std::string("'otros-contactos' lleva una calidad de 0 a 4");
            OtrosContactos = static_cast<int>(n);
            return std::nullopt;
        }

        std::optional<std::string> Regla(std::size_t numero, const std::vector<std::string_view>& t)
        {
            if (!DireccionValida(t[0]))
                return "dirección OSC no válida " + Citar(t[0]) + " (empieza por '/', sin espacios ni comodines)";
            if (t.size() < 3)
                return std::string("faltan el argumento y el destino tras la dirección");
            TReglaOsc regla;
            regla.Direccion = t[0];
            regla.Linea = numero;
            long long argumento = 0;
            if (!edk::LeerEnteroEntre(t[1], 0, ArgumentoMaximo, argumento))
                return "argumento no válido " + Citar(t[1]) + " (0..63)";
            regla.Argumento = static_cast<std::size_t>(argumento);
            const auto destino = std::find_if(Destinos.begin(), Destinos.end(),
                                              [&](const TNombreDestino& d) { return d.Nombre == t[2]; });
            if (destino == Destinos.end())
                return "destino desconocido " + Citar(t[2]);
            regla.Destino = destino->Destino;
            std::size_t i = 3;
            if (regla.Destino == TDestinoOsc::Contacto) {
                if (t.size() < 4)
                    return std::string("'contacto' lleva los canales (0..17, separados por comas)");
                if (std::optional<std::string> error = Canales(t[3], regla.Canales))
                    return error;
                i = 4;
            }
            for (; i < t.size(); i += 2) {
                if (i + 1 >= t.size())
                    return "falta el valor de " + Citar(t[i]);
                if (std::optional<std::string> error = Opcion(t[i], t[i + 1], regla))
                    return error;
            }
            if (Reglas.size() >= ReglasMaximas)
                return std::string("demasiadas reglas (256 como mucho)");
            Reglas.push_back(std::move(regla));
            return std::nullopt;
        }
    };

} // namespace

bool TMapaOsc::Leer(std::string_view texto)
{
    if (texto.size() > TamanoMaximoMapa) {
        FError = "el mapa es demasiado grande";
        return false;
    }
    if (texto.starts_with("\xEF\xBB\xBF"))
        texto.remove_prefix(3);
    TLector lector;
    std::size_t numero = 0;
    for (const std::string_view linea : edk::Partir(texto, '\n'))
        lector.Linea(++numero, linea);
    if (lector.Errores.empty() && lector.Reglas.empty())
        lector.Errores.emplace_back("el mapa no tiene ninguna regla");
    if (!lector.Errores.empty()) {
        FError.clear();
        for (const std::string& error : lector.Errores)
            FError += (FError.empty() ? "" : "\n") + error;
        if (lector.Callados > 0)
            FError += "\n... y " + std::to_string(lector.Callados) + " errores más sin listar";
        return false;
    }
    FReglas = std::move(lector.Reglas);
    FOtrosContactos = lector.OtrosContactos;
    FError.clear();
    return true;
}

bool TMapaOsc::LeerFichero(const std::string& ruta)
{
    std::string texto;
    switch (edk::LeerFicheroTexto(ruta, TamanoMaximoMapa, texto)) {
    case edk::TLecturaFichero::NoLegible:
        FError = "no se puede leer el fichero " + ruta;
        return false;
    case edk::TLecturaFichero::DemasiadoGrande:
        FError = "el mapa es demasiado grande";
        return false;
    case edk::TLecturaFichero::Leido:
        break;
    }
    return Leer(texto);
}

bool TMapaOsc::Cargar(const std::string& nombreOFichero)
{
    const std::string_view incorporado = TextoIncorporado(nombreOFichero);
    return incorporado.empty() ? LeerFichero(nombreOFichero) : Leer(incorporado);
}

bool TMapaOsc::Contiene(std::string_view direccion) const
{
    return std::any_of(FReglas.begin(), FReglas.end(), [&](const TReglaOsc& r) { return r.Direccion == direccion; });
}

} // namespace emulador
