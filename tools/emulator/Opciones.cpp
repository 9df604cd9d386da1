#include "Opciones.h"

#include "EnlaceRemoto.h"

#include <charconv>
#include <string_view>

namespace emulador {

namespace {

    constexpr int TasaMaxima = 1000;

    bool Entero(std::string_view texto, int minimo, int maximo, int& valor)
    {
        int v = 0;
        const auto [fin, error] = std::from_chars(texto.data(), texto.data() + texto.size(), v);
        if (texto.empty() || error != std::errc() || fin != texto.data() + texto.size() || v < minimo || v > maximo)
            return false;
        valor = v;
        return true;
    }

} // namespace

bool TOpciones::Leer(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view opcion = argv[i];
        if (opcion.starts_with("-") && !FVistas.emplace(opcion).second) {
            FError = "opción repetida: " + std::string(opcion);
            return false;
        }
        if (opcion == "--help" || opcion == "-h" || opcion == "--ayuda") {
            Ayuda = true;
            continue;
        }
        if (opcion == "--bucle") {
            Bucle = true;
            continue;
        }
        if (opcion != "--direccion" && opcion != "--puerto" && opcion != "--escenario" && opcion != "--tasa"
            && opcion != "--osc" && opcion != "--mapa" && opcion != "--grabar" && opcion != "--osc-desde") {
            FError = "opción desconocida: " + std::string(opcion);
            return false;
        }
        if (i + 1 >= argc) {
            FError = "falta el valor de " + std::string(opcion);
            return false;
        }
        const std::string_view valor = argv[++i];
        int n = 0;
        if (opcion == "--direccion") {
            std::uint32_t ip = 0;
            if (!edk::LeerDireccionIPv4(std::string(valor).c_str(), ip)) {
                FError = "dirección IPv4 no válida: " + std::string(valor);
                return false;
            }
            Direccion = valor;
        } else if (opcion == "--puerto") {
            if (!Entero(valor, 0, 65535, n)) {
                FError = "puerto no válido (0..65535): " + std::string(valor);
                return false;
            }
            Puerto = static_cast<std::uint16_t>(n);
        } else if (opcion == "--tasa") {
            if (!Entero(valor, 1, TasaMaxima, n)) {
                FError = "tasa no válida (1.." + std::to_string(TasaMaxima)
                         + " estados por segundo): " + std::string(valor);
                return false;
            }
            Tasa = n;
        } else if (opcion == "--osc") {
            if (!Entero(valor, 0, 65535, n)) {
                FError = "puerto OSC no válido (0..65535): " + std::string(valor);
                return false;
            }
            PuertoOsc = static_cast<std::uint16_t>(n);
        } else if (opcion == "--osc-desde") {
            std::uint32_t ip = 0;
            if (!edk::LeerDireccionIPv4(std::string(valor).c_str(), ip)) {
                FError = "dirección IPv4 no válida en --osc-desde: " + std::string(valor);
                return false;
            }
            OscDesde = ip;
            OscDesdeTexto = valor;
        } else if (opcion == "--mapa") {
            Mapa = valor;
            FMapaDado = true;
        } else if (opcion == "--grabar") {
            if (valor.empty()) {
                FError = "falta el fichero de --grabar";
                return false;
            }
            Grabar = valor;
        } else {
            Escenario = valor;
        }
    }
    if (FMapaDado && !PuertoOsc) {
        FError = "--mapa solo tiene sentido con --osc";
        return false;
    }
    if (OscDesde && !PuertoOsc) {
        FError = "--osc-desde solo tiene sentido con --osc";
        return false;
    }
    return true;
}

std::string TOpciones::Uso()
{
    return "Uso: gedanko-emulador [opciones]\n"
           "Emulador de un casco EEG: envía un escenario a cada programa que se conecta por TCP\n"
           "y acepta órdenes por la entrada estándar que cambian el estado enviado.\n"
           "\n"
           "Opciones:\n"
           "  --direccion IP      dirección IPv4 en la que escuchar (por defecto 127.0.0.1)\n"
           "  --puerto N          puerto TCP (por defecto 1726; 0 = uno libre, que se indica al arrancar)\n"
           "  --escenario FICHERO escenario que se envía (por defecto, la demostración incluida)\n"
           "  --tasa N            estados por segundo (1..1000, por defecto 32)\n"
           "  --bucle             repetir el escenario al terminar\n"
           "  --osc PUERTO        recibir también OSC por UDP en ese puerto (0 = uno libre); sin\n"
           "                      --escenario se parte de un casco en reposo, bien puesto y con señal\n"
           "  --mapa M            cómo se traduce el OSC: muse, openbci, generico (por defecto) o un\n"
           "                      fichero (./muse para un fichero que se llama como un mapa incorporado)\n"
           "  --osc-desde IP      aceptar OSC solo de esa dirección IPv4 (por defecto, de cualquiera)\n"
           "  --grabar FICHERO    grabar los estados servidos como escenario (--escenario lo reproduce)\n"
           "  --help, -h          esta ayuda\n"
           "\n"
           "Escriba \"ayuda\" en la consola del emulador para ver las órdenes.\n"
           "Códigos de salida: 0 parada normal, 1 error de red, 2 opciones, escenario o mapa no válidos.\n";
}

} // namespace emulador
