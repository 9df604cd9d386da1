#include "Formato.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace {

// The digit block of a pattern: its position and the zeros before and after
// the point.
struct TBloque {
    qsizetype Inicio = -1;
    qsizetype Fin = -1; // one past the block
    int Enteros = 0;
    int Decimales = -1; // -1: no point in the pattern
};

TBloque BuscarBloque(QStringView patron)
{
    TBloque bloque;
    qsizetype i = 0;
    while (i < patron.size() && patron[i] != u'0' && patron[i] != u'.')
        ++i;
    if (i == patron.size())
        return bloque;
    bloque.Inicio = i;
    for (; i < patron.size(); ++i) {
        if (patron[i] == u'0') {
            if (bloque.Decimales < 0)
                ++bloque.Enteros;
            else
                ++bloque.Decimales;
        } else if (patron[i] == u'.' && bloque.Decimales < 0) {
            bloque.Decimales = 0;
        } else {
            break;
        }
    }
    bloque.Fin = i;
    return bloque;
}

// The magnitude of a finite value written with the given digits. Rounding
// works on the shortest decimal text of the value, half away from zero, so
// 0.125 gives 0.13 although the binary value lies slightly off.
std::string Cifras(double magnitud, int enteros, int decimales)
{
    char texto[400];
    auto [fin, error] = std::to_chars(texto, texto + sizeof texto, magnitud, std::chars_format::fixed);
    std::string_view vista(texto, error == std::errc() ? fin : texto);
    std::size_t punto = vista.find('.');
    std::string_view entera = vista.substr(0, punto);
    std::string_view fraccion = punto == std::string_view::npos ? std::string_view() : vista.substr(punto + 1);

    // All digits kept, with a spare leading zero for a carry out of the top.
    std::string cifras = "0";
    cifras.append(entera);
    for (std::size_t i = 0; i < std::size_t(decimales); ++i)
        cifras.push_back(i < fraccion.size() ? fraccion[i] : '0');
    bool subir = fraccion.size() > std::size_t(decimales) && fraccion[decimales] >= '5';
    for (std::size_t i = cifras.size(); subir && i-- > 0;) {
        subir = cifras[i] == '9';
        cifras[i] = subir ? '0' : char(cifras[i] + 1);
    }

    std::size_t finEntera = cifras.size() - decimales;
    std::size_t primera = std::min(cifras.find_first_not_of('0'), finEntera);
    std::size_t cuenta = finEntera - primera;
    std::string resultado;
    if (cuenta < std::size_t(enteros))
        resultado.assign(enteros - cuenta, '0');
    resultado.append(cifras, primera, cuenta);
    if (decimales > 0) {
        resultado.push_back('.');
        resultado.append(cifras, finEntera, decimales);
    }
    return resultado;
}

} // namespace

QString FormatearNumero(double valor, QStringView patron)
{
    TBloque bloque = BuscarBloque(patron);
    if (bloque.Inicio < 0)
        return patron.toString();

    QString numero;
    if (std::isnan(valor)) {
        numero = QStringLiteral("NAN");
    } else if (std::isinf(valor)) {
        numero = valor < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    } else {
        int decimales = std::max(bloque.Decimales, 0);
        std::string cifras = Cifras(std::fabs(valor), bloque.Enteros, decimales);
        bool esCero = cifras.find_first_not_of("0.") == std::string::npos;
        numero = QString::fromLatin1(cifras);
        if (decimales > 0)
            numero.replace(u'.', QLocale().decimalPoint());
        if (valor < 0 && !esCero)
            numero.prepend(u'-');
    }
    return patron.left(bloque.Inicio).toString() + numero + patron.mid(bloque.Fin).toString();
}
