// Strict number parsing, token splitting and bounded file reading.
#include "Texto.h"

#include "Descriptor.h"
#include "Windows1252.h"

#include <array>
#include <charconv>
#include <cmath>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace edk {

namespace {

    bool EsBlanco(char c)
    {
        return c == ' ' || c == '\t' || c == '\r';
    }

} // namespace

bool LeerEntero(std::string_view texto, long long& valor)
{
    if (texto.empty() || texto.front() == '+')
        return false;
    int base = 10;
    if (texto.size() > 2 && texto[0] == '0' && (texto[1] == 'x' || texto[1] == 'X')) {
        texto.remove_prefix(2);
        base = 16;
        if (texto.front() == '-' || texto.front() == '+')
            return false;
    }
    long long leido = 0;
    const auto [fin, error] = std::from_chars(texto.data(), texto.data() + texto.size(), leido, base);
    if (error != std::errc() || fin != texto.data() + texto.size())
        return false;
    valor = leido;
    return true;
}

bool LeerEnteroEntre(std::string_view texto, long long minimo, long long maximo, long long& valor)
{
    long long leido = 0;
    if (!LeerEntero(texto, leido) || leido < minimo || leido > maximo)
        return false;
    valor = leido;
    return true;
}

bool LeerReal(std::string_view texto, double& valor)
{
    if (texto.empty() || texto.front() == '+')
        return false;
    double leido = 0;
    const auto [fin, error]
        = std::from_chars(texto.data(), texto.data() + texto.size(), leido, std::chars_format::fixed);
    if (error != std::errc() || fin != texto.data() + texto.size() || !std::isfinite(leido))
        return false;
    valor = leido;
    return true;
}

std::vector<std::string_view> Trocear(std::string_view linea)
{
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < linea.size()) {
        while (i < linea.size() && EsBlanco(linea[i]))
            ++i;
        const std::size_t inicio = i;
        while (i < linea.size() && !EsBlanco(linea[i]))
            ++i;
        if (i > inicio)
            tokens.push_back(linea.substr(inicio, i - inicio));
    }
    return tokens;
}

std::vector<std::string_view> Partir(std::string_view texto, char separador)
{
    std::vector<std::string_view> partes;
    std::size_t inicio = 0;
    while (true) {
        const std::size_t fin = texto.find(separador, inicio);
        if (fin == std::string_view::npos) {
            partes.push_back(texto.substr(inicio));
            return partes;
        }
        partes.push_back(texto.substr(inicio, fin - inicio));
        inicio = fin + 1;
    }
}

std::string_view Recortar(std::string_view texto)
{
    while (!texto.empty() && EsBlanco(texto.front()))
        texto.remove_prefix(1);
    while (!texto.empty() && EsBlanco(texto.back()))
        texto.remove_suffix(1);
    return texto;
}

std::string_view SinComentario(std::string_view linea)
{
    const std::size_t almohadilla = linea.find('#');
    return almohadilla == std::string_view::npos ? linea : linea.substr(0, almohadilla);
}

TLecturaFichero LeerFicheroTexto(const std::string& ruta, std::size_t maximo, std::string& texto)
{
    if (ruta.empty() || ruta.find('\0') != std::string::npos)
        return TLecturaFichero::NoLegible;
    TDescriptor fichero(::open(ruta.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fichero.Fd() < 0)
        return TLecturaFichero::NoLegible;
    struct stat datos { };
    if (::fstat(fichero.Fd(), &datos) != 0 || !S_ISREG(datos.st_mode))
        return TLecturaFichero::NoLegible;
    if (static_cast<unsigned long long>(datos.st_size) > maximo)
        return TLecturaFichero::DemasiadoGrande;

    // The size may change while reading; read at most one byte past the cap to notice.
    std::string leido;
    std::array<char, 4096> bloque {};
    while (true) {
        const ssize_t n = ::read(fichero.Fd(), bloque.data(), bloque.size());
        if (n < 0)
            return TLecturaFichero::NoLegible;
        if (n == 0)
            break;
        leido.append(bloque.data(), static_cast<std::size_t>(n));
        if (leido.size() > maximo)
            return TLecturaFichero::DemasiadoGrande;
    }
    texto = std::move(leido);
    return TLecturaFichero::Leido;
}

std::string DeCodigoPagina(std::string_view texto)
{
    std::string utf8;
    for (const char c : texto) {
        const char32_t punto = CaracterDe1252(static_cast<unsigned char>(c));
        if (punto < 0x80) {
            utf8 += static_cast<char>(punto);
        } else if (punto < 0x800) {
            utf8 += static_cast<char>(0xC0 | (punto >> 6));
            utf8 += static_cast<char>(0x80 | (punto & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (punto >> 12));
            utf8 += static_cast<char>(0x80 | ((punto >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (punto & 0x3F));
        }
    }
    return utf8;
}

} // namespace edk
