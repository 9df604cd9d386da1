// Fuzzes the emulator protocol's line parser and the IPv4 address reader.
// Beyond "no crash": a line that parses must format back to a line that
// parses to the same event.
#include "EnlaceRemoto.h"
#include "Protocolo.h"
#include "edk.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

bool Iguales(const edk::TEvento& a, const edk::TEvento& b)
{
    if (a.Tipo != b.Tipo || a.Usuario != b.Usuario)
        return false;
    if (a.Tipo != EE_EmoStateUpdated)
        return true;
    const edk::TEstadoEmo& x = a.Estado;
    const edk::TEstadoEmo& y = b.Estado;
    return x.Tiempo == y.Tiempo && x.AccionCognitiva == y.AccionCognitiva && x.PotenciaCognitiva == y.PotenciaCognitiva
           && x.AccionExpresiva == y.AccionExpresiva && x.PotenciaExpresiva == y.PotenciaExpresiva && x.Senal == y.Senal
           && x.Bateria == y.Bateria && x.BateriaMax == y.BateriaMax && x.Contactos == y.Contactos && x.GiroX == y.GiroX
           && x.GiroY == y.GiroY;
}

void ProbarLinea(std::string_view linea)
{
    edk::TEvento evento;
    if (!edk::InterpretarLinea(linea, evento))
        return;
    std::string otra;
    if (!edk::FormatearEvento(evento, otra) || otra.size() >= edk::LongitudMaximaLinea)
        __builtin_trap();
    edk::TEvento releido;
    if (!edk::InterpretarLinea(otra, releido) || !Iguales(evento, releido))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t largo)
{
    const std::string_view texto(reinterpret_cast<const char*>(datos), largo);
    ProbarLinea(texto);
    // Also line by line, as the link hands them over.
    std::size_t inicio = 0;
    while (inicio < texto.size()) {
        const std::size_t fin = texto.find('\n', inicio);
        ProbarLinea(texto.substr(inicio, fin == std::string_view::npos ? std::string_view::npos : fin - inicio));
        if (fin == std::string_view::npos)
            break;
        inicio = fin + 1;
    }
    const std::string direccion(texto.substr(0, 64));
    std::uint32_t ip = 0;
    if (edk::LeerDireccionIPv4(direccion.c_str(), ip) && std::strlen(direccion.c_str()) > 15)
        __builtin_trap();
    return 0;
}
