// Strict reader of the scenario format: "<time> <order> <arguments>" per
// line, '#' starts a comment, times never go back.
#include "Escenario.h"

#include "Acciones.h"
#include "EscalasCasco.h"
#include "Texto.h"
#include "TextoDemo.h"
#include "edk.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace edk {

namespace {

    constexpr int BateriaMaxima = 100;
    constexpr std::size_t ErroresMaximos = 10;

    using TTokens = std::vector<std::string_view>;

    // Reads the lines of one scenario text, one at a time, keeping the state
    // the checks need (whether a headset is on, the last time).
    class TLector {
    public:
        std::vector<TOrden> Ordenes;
        std::vector<std::string> Errores;
        double Ultimo = 0;
        bool HayFin = false;
        double Fin = 0;

        void Linea(std::size_t numero, std::string_view texto);

    private:
        bool FCasco = false;
        std::uint32_t FUsuario = 0;

        void Fallo(std::size_t numero, const std::string& motivo)
        {
            if (Errores.size() < ErroresMaximos)
                Errores.push_back("línea " + std::to_string(numero) + ": " + motivo);
        }
        std::optional<std::string> Orden(const TTokens& t, TOrden& orden);
        std::optional<std::string> Potencia(const TTokens& t, TSuite suite, TOrden& orden);
        static std::optional<std::string> Rampa(const TTokens& t, std::size_t desde, TOrden& orden);
    };

    std::string Citar(std::string_view texto)
    {
        constexpr std::size_t Maximo = 40;
        std::string citado(1, '\'');
        citado.append(texto.substr(0, Maximo)).append(texto.size() > Maximo ? "...'" : "'");
        return citado;
    }

    bool Entero(std::string_view texto, long long minimo, long long maximo, int& valor)
    {
        long long n = 0;
        if (!LeerEnteroEntre(texto, minimo, maximo, n))
            return false;
        valor = static_cast<int>(n);
        return true;
    }

    bool Usuario(std::string_view texto, std::uint32_t& usuario)
    {
        long long n = 0;
        if (!LeerEnteroEntre(texto, 0, std::numeric_limits<std::uint32_t>::max(), n))
            return false;
        usuario = static_cast<std::uint32_t>(n);
        return true;
    }

    std::string Cuenta(std::string_view orden, std::string_view argumentos)
    {
        std::string texto(1, '\'');
        texto.append(orden).append("' lleva ").append(argumentos);
        return texto;
    }

    void TLector::Linea(std::size_t numero, std::string_view texto)
    {
        if (texto.find('\0') != std::string_view::npos) {
            Fallo(numero, "carácter nulo");
            return;
        }
        const TTokens t = Trocear(SinComentario(texto));
        if (t.empty())
            return;
        if (HayFin) {
            Fallo(numero, "nada puede seguir a 'fin'");
            return;
        }
        TOrden orden;
        orden.Linea = numero;
        if (!LeerReal(t[0], orden.Tiempo) || orden.Tiempo < 0 || orden.Tiempo > TiempoMaximoEscenario) {
            Fallo(numero, "tiempo no válido " + Citar(t[0]) + " (segundos de 0 a 1000000)");
            return;
        }
        if (orden.Tiempo < Ultimo) {
            Fallo(numero, "el tiempo retrocede (" + std::string(t[0]) + " va después de un tiempo mayor)");
            return;
        }
        if (t.size() < 2) {
            Fallo(numero, "falta la orden tras el tiempo");
            return;
        }
        if (t[1] == "fin") {
            if (t.size() != 2)
                Fallo(numero, "'fin' no lleva argumentos");
            HayFin = true;
            Fin = orden.Tiempo;
            Ultimo = orden.Tiempo;
            return;
        }
        if (const std::optional<std::string> error = Orden(t, orden)) {
            Fallo(numero, *error);
            return;
        }
        Ultimo = orden.Tiempo;
        Ordenes.push_back(orden);
    }

    std::optional<std::string> TLector::Rampa(const TTokens& t, std::size_t desde, TOrden& orden)
    {
        if (t.size() == desde)
            return std::nullopt;
        if (t.size() != desde + 2 || t[desde] != "en")
            return "tras los valores solo cabe 'en <segundos>'";
        if (!LeerReal(t[desde + 1], orden.Rampa) || orden.Rampa <= 0 || orden.Rampa > TiempoMaximoEscenario)
            return "duración de rampa no válida " + Citar(t[desde + 1]) + " (segundos, mayor que 0)";
        return std::nullopt;
    }

    std::optional<std::string> TLector::Potencia(const TTokens& t, TSuite suite, TOrden& orden)
    {
        const bool cognitiva = suite == TSuite::Cognitiva;
        if (t.size() < 4)
            return Cuenta(t[1], "una acción y una potencia");
        if (!LeerAccion(t[2], suite, orden.Accion))
            return std::string(cognitiva ? "acción cognitiva" : "acción expresiva") + " desconocida " + Citar(t[2]);
        if (!LeerReal(t[3], orden.Valor) || orden.Valor < 0 || orden.Valor > 1)
            return "potencia no válida " + Citar(t[3]) + " (de 0 a 1)";
        return Rampa(t, 4, orden);
    }

    std::optional<std::string> TLector::Orden(const TTokens& t, TOrden& orden)
    {
        using C = TOrden::TClase;
        const std::string_view nombre = t[1];
        const std::size_t argumentos = t.size() - 2;
        if (nombre == "cognitiva") {
            orden.Clase = C::Cognitiva;
            return Potencia(t, TSuite::Cognitiva, orden);
        }
        if (nombre == "expresiva") {
            orden.Clase = C::Expresiva;
            return Potencia(t, TSuite::Expresiva, orden);
        }
        if (nombre == "senal") {
            orden.Clase = C::Senal;
            if (argumentos != 1)
                return Cuenta(nombre, "un argumento");
            if (!Entero(t[2], EDK_SIN_SENAL, EDK_SENAL_BUENA, orden.A))
                return "señal no válida " + Citar(t[2]) + " (0 sin señal, 1 mala, 2 buena)";
            return std::nullopt;
        }
        if (nombre == "bateria") {
            orden.Clase = C::Bateria;
            if (argumentos != 2)
                return Cuenta(nombre, "el nivel y el máximo");
            if (!Entero(t[2], 0, BateriaMaxima, orden.A) || !Entero(t[3], 0, BateriaMaxima, orden.B)
                || orden.A > orden.B)
                return "batería no válida (nivel y máximo de 0 a 100, el nivel no mayor que el máximo)";
            return std::nullopt;
        }
        if (nombre == "contactos") {
            orden.Clase = C::Contactos;
            if (argumentos != 1 && argumentos != static_cast<std::size_t>(NumCanales))
                return Cuenta(nombre, "un valor para todos los canales o 18 valores");
            for (std::size_t i = 0; i < orden.Contactos.size(); ++i)
                if (!Entero(t[argumentos == 1 ? 2 : 2 + i], ContactoMinimo, ContactoMaximo, orden.Contactos[i]))
                    return "calidad de contacto no válida " + Citar(t[argumentos == 1 ? 2 : 2 + i]) + " (de 0 a 4)";
            return std::nullopt;
        }
        if (nombre == "giro") {
            orden.Clase = C::Giro;
            if (argumentos < 2)
                return Cuenta(nombre, "el cambio horizontal y el vertical");
            if (!Entero(t[2], -GiroMaximo, GiroMaximo, orden.A) || !Entero(t[3], -GiroMaximo, GiroMaximo, orden.B))
                return "giro no válido (enteros de -32767 a 32767)";
            return Rampa(t, 4, orden);
        }
        if (nombre == "alta" || nombre == "baja") {
            const bool alta = nombre == "alta";
            orden.Clase = alta ? C::Alta : C::Baja;
            if (argumentos != 1)
                return Cuenta(nombre, "el número de usuario");
            if (!Usuario(t[2], orden.Usuario))
                return "usuario no válido " + Citar(t[2]);
            if (alta && FCasco)
                return "ya hay un casco puesto (usuario " + std::to_string(FUsuario) + ")";
            if (!alta && !FCasco)
                return "no hay ningún casco puesto";
            if (!alta && orden.Usuario != FUsuario)
                return "el casco puesto es el del usuario " + std::to_string(FUsuario);
            FCasco = alta;
            FUsuario = orden.Usuario;
            return std::nullopt;
        }
        if (nombre == "giroscopio") {
            if (argumentos != 1 || (t[2] != "calibrado" && t[2] != "sin-calibrar"))
                return Cuenta(nombre, "'calibrado' o 'sin-calibrar'");
            orden.Clase = t[2] == "calibrado" ? C::GiroCalibrado : C::GiroSinCalibrar;
            return std::nullopt;
        }
        if (nombre == "estado") {
            orden.Clase = C::Estado;
            if (argumentos != 0)
                return std::string("'estado' no lleva argumentos");
            return std::nullopt;
        }
        if (nombre == "evento") {
            orden.Clase = C::Evento;
            if (argumentos != 1 && argumentos != 2)
                return Cuenta(nombre, "el tipo y, si se quiere, el usuario");
            if (!Entero(t[2], 0, 0xFFFF, orden.A))
                return "tipo de evento no válido " + Citar(t[2]) + " (de 0 a 0xFFFF)";
            if (orden.A == EE_UserAdded || orden.A == EE_UserRemoved || orden.A == EE_EmoStateUpdated)
                return "ese tipo tiene orden propia ('alta', 'baja'; los estados salen solos)";
            if (argumentos == 2) {
                if (!Usuario(t[3], orden.Usuario))
                    return "usuario no válido " + Citar(t[3]);
                orden.ConUsuario = true;
            }
            return std::nullopt;
        }
        return "orden desconocida " + Citar(nombre);
    }

} // namespace

bool TEscenario::Leer(std::string_view texto)
{
    if (texto.size() > TamanoMaximoEscenario) {
        FError = "el escenario es demasiado grande";
        return false;
    }
    if (texto.starts_with("\xEF\xBB\xBF"))
        texto.remove_prefix(3);
    TLector lector;
    std::size_t numero = 0;
    for (const std::string_view linea : Partir(texto, '\n'))
        lector.Linea(++numero, linea);
    if (!lector.Errores.empty()) {
        FError.clear();
        for (const std::string& error : lector.Errores)
            FError += (FError.empty() ? "" : "\n") + error;
        return false;
    }
    FOrdenes = std::move(lector.Ordenes);
    FDuracion = lector.HayFin ? lector.Fin : lector.Ultimo;
    FEstadosMarcados = std::any_of(FOrdenes.begin(), FOrdenes.end(),
                                   [](const TOrden& o) { return o.Clase == TOrden::TClase::Estado; });
    FError.clear();
    return true;
}

bool TEscenario::LeerFichero(const std::string& ruta)
{
    std::string texto;
    switch (LeerFicheroTexto(ruta, TamanoMaximoEscenario, texto)) {
    case TLecturaFichero::NoLegible:
        FError = "no se puede leer el fichero " + ruta;
        return false;
    case TLecturaFichero::DemasiadoGrande:
        FError = "el escenario es demasiado grande";
        return false;
    case TLecturaFichero::Leido:
        break;
    }
    return Leer(texto);
}

} // namespace edk

namespace edk {

const TEscenario& TEscenario::Demo()
{
    static const TEscenario demo = [] {
        TEscenario escenario;
        escenario.Leer(TextoDemo());
        return escenario;
    }();
    return demo;
}

} // namespace edk
