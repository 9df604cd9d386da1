// Formatting and strict parsing of the emulator protocol's lines.
#include "Protocolo.h"

#include "EscalasCasco.h"
#include "edk.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace edk {

namespace {

    constexpr std::string_view PalabraSaludo = "GEDANKO-EMU";
    constexpr std::string_view PalabraEstado = "ESTADO";
    constexpr std::string_view PalabraAnadido = "USUARIO_ANADIDO";
    constexpr std::string_view PalabraEliminado = "USUARIO_ELIMINADO";
    constexpr std::string_view PalabraCalibrado = "GIRO_CALIBRADO";
    constexpr std::string_view PalabraSinCalibrar = "GIRO_SIN_CALIBRAR";
    constexpr std::string_view PalabraEvento = "EVENTO";

    constexpr int TipoMaximo = 0xFFFF;

    // Tokens of an ESTADO line: the keyword, user, time, four action fields,
    // signal, two battery fields, the contacts and two gyro fields.
    constexpr std::size_t TokensEstado = 13;
    constexpr std::size_t TokensMaximos = TokensEstado;

    // Splits on single spaces; an empty token (two spaces in a row, a leading or
    // trailing space) or too many tokens make the line malformed.
    std::optional<std::size_t> Partir(std::string_view linea, std::array<std::string_view, TokensMaximos>& tokens)
    {
        std::size_t n = 0;
        std::size_t inicio = 0;
        while (true) {
            const std::size_t fin = linea.find(' ', inicio);
            const std::string_view token
                = linea.substr(inicio, fin == std::string_view::npos ? std::string_view::npos : fin - inicio);
            if (token.empty() || n == TokensMaximos)
                return std::nullopt;
            tokens[n++] = token;
            if (fin == std::string_view::npos)
                return n;
            inicio = fin + 1;
        }
    }

    template <typename T> bool LeerEntero(std::string_view texto, T& valor)
    {
        if (texto.empty() || texto.front() == '+')
            return false;
        T leido {};
        const auto [fin, error] = std::from_chars(texto.data(), texto.data() + texto.size(), leido, 10);
        if (error != std::errc() || fin != texto.data() + texto.size())
            return false;
        valor = leido;
        return true;
    }

    bool LeerEnteroEntre(std::string_view texto, int minimo, int maximo, int& valor)
    {
        int leido = 0;
        if (!LeerEntero(texto, leido) || leido < minimo || leido > maximo)
            return false;
        valor = leido;
        return true;
    }

    bool LeerReal(std::string_view texto, float minimo, float maximo, float& valor)
    {
        if (texto.empty() || texto.front() == '+')
            return false;
        float leido = 0;
        const auto [fin, error]
            = std::from_chars(texto.data(), texto.data() + texto.size(), leido, std::chars_format::general);
        if (error != std::errc() || fin != texto.data() + texto.size() || !std::isfinite(leido) || leido < minimo
            || leido > maximo)
            return false;
        valor = leido;
        return true;
    }

    bool LeerContactos(std::string_view texto, std::array<int, NumCanales>& contactos)
    {
        std::array<int, NumCanales> leidos {};
        std::size_t inicio = 0;
        for (std::size_t i = 0; i < leidos.size(); ++i) {
            const std::size_t fin = texto.find(',', inicio);
            const bool ultimo = i + 1 == leidos.size();
            if (ultimo != (fin == std::string_view::npos))
                return false;
            const std::string_view parte = texto.substr(inicio, ultimo ? std::string_view::npos : fin - inicio);
            if (!LeerEnteroEntre(parte, ContactoMinimo, ContactoMaximo, leidos[i]))
                return false;
            inicio = fin + 1;
        }
        contactos = leidos;
        return true;
    }

    bool EstadoValido(const TEstadoEmo& e)
    {
        const auto potencia = [](float p) { return std::isfinite(p) && p >= 0 && p <= 1; };
        if (!std::isfinite(e.Tiempo) || e.Tiempo < 0 || !potencia(e.PotenciaCognitiva)
            || !potencia(e.PotenciaExpresiva))
            return false;
        if (e.Senal < EDK_SIN_SENAL || e.Senal > EDK_SENAL_BUENA || e.Bateria < 0 || e.BateriaMax < 0)
            return false;
        if (e.GiroX < -GiroMaximo || e.GiroX > GiroMaximo || e.GiroY < -GiroMaximo || e.GiroY > GiroMaximo)
            return false;
        for (const int c : e.Contactos)
            if (c < ContactoMinimo || c > ContactoMaximo)
                return false;
        return true;
    }

    bool TipoConPalabraPropia(int tipo)
    {
        return tipo == EE_EmoStateUpdated || tipo == EE_UserAdded || tipo == EE_UserRemoved
               || tipo == TipoInternoGiroCalibrado || tipo == TipoInternoGiroSinCalibrar;
    }

    void Anadir(std::string& s, std::string_view texto)
    {
        s += ' ';
        s += texto;
    }

    template <typename T> void AnadirNumero(std::string& s, T valor)
    {
        std::array<char, 32> buf {};
        const auto [fin, error] = std::to_chars(buf.data(), buf.data() + buf.size(), valor);
        (void)error; // 32 characters hold any int, unsigned or shortest float
        Anadir(s, std::string_view(buf.data(), static_cast<std::size_t>(fin - buf.data())));
    }

    std::string FormatearEstado(const TEvento& evento)
    {
        const TEstadoEmo& e = evento.Estado;
        std::string s(PalabraEstado);
        AnadirNumero(s, evento.Usuario);
        AnadirNumero(s, e.Tiempo);
        AnadirNumero(s, e.AccionCognitiva);
        AnadirNumero(s, e.PotenciaCognitiva);
        AnadirNumero(s, e.AccionExpresiva);
        AnadirNumero(s, e.PotenciaExpresiva);
        AnadirNumero(s, e.Senal);
        AnadirNumero(s, e.Bateria);
        AnadirNumero(s, e.BateriaMax);
        s += ' ';
        for (std::size_t i = 0; i < e.Contactos.size(); ++i) {
            if (i > 0)
                s += ',';
            s += static_cast<char>('0' + e.Contactos[i]);
        }
        AnadirNumero(s, e.GiroX);
        AnadirNumero(s, e.GiroY);
        return s;
    }

    bool InterpretarEstado(const std::array<std::string_view, TokensMaximos>& t, TEvento& evento)
    {
        TEvento leido;
        leido.Tipo = EE_EmoStateUpdated;
        TEstadoEmo& e = leido.Estado;
        const float sinLimite = std::numeric_limits<float>::max();
        const bool ok = LeerEntero(t[1], leido.Usuario) && LeerReal(t[2], 0, sinLimite, e.Tiempo)
                        && LeerEntero(t[3], e.AccionCognitiva) && LeerReal(t[4], 0, 1, e.PotenciaCognitiva)
                        && LeerEntero(t[5], e.AccionExpresiva) && LeerReal(t[6], 0, 1, e.PotenciaExpresiva)
                        && LeerEnteroEntre(t[7], EDK_SIN_SENAL, EDK_SENAL_BUENA, e.Senal)
                        && LeerEnteroEntre(t[8], 0, std::numeric_limits<int>::max(), e.Bateria)
                        && LeerEnteroEntre(t[9], 0, std::numeric_limits<int>::max(), e.BateriaMax)
                        && LeerContactos(t[10], e.Contactos) && LeerEnteroEntre(t[11], -GiroMaximo, GiroMaximo, e.GiroX)
                        && LeerEnteroEntre(t[12], -GiroMaximo, GiroMaximo, e.GiroY);
        if (!ok)
            return false;
        evento = leido;
        return true;
    }

} // namespace

std::string Saludo()
{
    return std::string(PalabraSaludo) + ' ' + std::to_string(VersionProtocolo);
}

bool EsSaludo(std::string_view linea)
{
    return linea == Saludo();
}

bool FormatearEvento(const TEvento& evento, std::string& linea)
{
    std::string s;
    switch (evento.Tipo) {
    case EE_EmoStateUpdated:
        if (!EstadoValido(evento.Estado))
            return false;
        linea = FormatearEstado(evento);
        return true;
    case EE_UserAdded:
        s = PalabraAnadido;
        break;
    case EE_UserRemoved:
        s = PalabraEliminado;
        break;
    case TipoInternoGiroCalibrado:
        s = PalabraCalibrado;
        break;
    case TipoInternoGiroSinCalibrar:
        s = PalabraSinCalibrar;
        break;
    default:
        if (evento.Tipo < 0 || evento.Tipo > TipoMaximo)
            return false;
        s = PalabraEvento;
        AnadirNumero(s, evento.Tipo);
        break;
    }
    AnadirNumero(s, evento.Usuario);
    linea = std::move(s);
    return true;
}

bool InterpretarLinea(std::string_view linea, TEvento& evento)
{
    if (linea.size() >= LongitudMaximaLinea)
        return false;
    std::array<std::string_view, TokensMaximos> t {};
    const std::optional<std::size_t> n = Partir(linea, t);
    if (!n)
        return false;
    const std::string_view palabra = t[0];
    if (palabra == PalabraEstado)
        return *n == TokensEstado && InterpretarEstado(t, evento);

    TEvento leido;
    std::size_t usuario = 1;
    if (palabra == PalabraEvento) {
        if (*n != 3 || !LeerEnteroEntre(t[1], 0, TipoMaximo, leido.Tipo) || TipoConPalabraPropia(leido.Tipo))
            return false;
        usuario = 2;
    } else if (*n != 2) { // NOLINT(bugprone-branch-clone): a size check, not a word
        return false;
    } else if (palabra == PalabraAnadido) {
        leido.Tipo = EE_UserAdded;
    } else if (palabra == PalabraEliminado) {
        leido.Tipo = EE_UserRemoved;
    } else if (palabra == PalabraCalibrado) {
        leido.Tipo = TipoInternoGiroCalibrado;
    } else if (palabra == PalabraSinCalibrar) {
        leido.Tipo = TipoInternoGiroSinCalibrar;
    } else {
        return false;
    }
    if (!LeerEntero(t[usuario], leido.Usuario))
        return false;
    evento = leido;
    return true;
}

} // namespace edk
