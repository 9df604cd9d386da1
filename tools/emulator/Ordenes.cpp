#include "Ordenes.h"

#include "EscalasCasco.h"
#include "Tipos.h"

#include "edk.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace emulador {

namespace {

    // Scale of a head turn: a turn of intensity n is a horizontal gyro change of
    // n GiroPorMagnitud, which the program reads back as intensity n (it needs
    // more than LimiteGiro, so intensities 2 and up count as a turn).
    constexpr int GiroPorIntensidad = GiroPorMagnitud;
    constexpr int IntensidadGiroPorDefecto = 5;
    constexpr std::size_t PalabrasMaximas = 4;

    std::vector<std::string_view> Palabras(std::string_view linea)
    {
        std::vector<std::string_view> p;
        std::size_t i = 0;
        while (i < linea.size() && p.size() <= PalabrasMaximas) {
            while (i < linea.size() && (linea[i] == ' ' || linea[i] == '\t' || linea[i] == '\r'))
                ++i;
            const std::size_t inicio = i;
            while (i < linea.size() && linea[i] != ' ' && linea[i] != '\t' && linea[i] != '\r')
                ++i;
            if (i > inicio)
                p.push_back(linea.substr(inicio, i - inicio));
        }
        return p;
    }

    bool Entero(std::string_view texto, int minimo, int maximo, int& valor)
    {
        int v = 0;
        const auto [fin, error] = std::from_chars(texto.data(), texto.data() + texto.size(), v);
        if (error != std::errc() || fin != texto.data() + texto.size() || v < minimo || v > maximo)
            return false;
        valor = v;
        return true;
    }

    // A power 0..1, written with a point or a comma.
    bool Potencia(std::string_view texto, float& valor)
    {
        std::string t(texto);
        for (char& c : t)
            if (c == ',')
                c = '.';
        float v = 0;
        const auto [fin, error] = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::fixed);
        if (error != std::errc() || fin != t.data() + t.size() || !std::isfinite(v) || v < 0 || v > 1)
            return false;
        valor = v;
        return true;
    }

    std::string DosDecimales(float v)
    {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.2f", static_cast<double>(v));
        return buf;
    }

    TRespuestaOrden Bien(std::string texto, TAccionOrden accion = aoNinguna)
    {
        return TRespuestaOrden {true, accion, std::move(texto)};
    }

    TRespuestaOrden Mal(std::string texto)
    {
        return TRespuestaOrden {false, aoNinguna, std::move(texto)};
    }

    TRespuestaOrden Accion(const std::vector<std::string_view>& p, TEstadoVivo& vivo, bool expresiva)
    {
        float potencia = 1;
        if (p.size() > 2 || (p.size() == 2 && !Potencia(p[1], potencia)))
            return Mal("Uso: " + std::string(p[0]) + " [potencia 0..1]");
        if (expresiva) {
            vivo.FijarExpresiva(ACC_EXP_APRETAR_DIENTES, potencia);
            return Bien("Apretar dientes con potencia " + DosDecimales(potencia));
        }
        vivo.FijarCognitiva(ACC_COG_TIRAR, potencia);
        return Bien("Tirar con potencia " + DosDecimales(potencia));
    }

    TRespuestaOrden Giro(const std::vector<std::string_view>& p, TEstadoVivo& vivo, int signo)
    {
        int intensidad = IntensidadGiroPorDefecto;
        if (p.size() > 2 || (p.size() == 2 && !Entero(p[1], 0, EscalaLectura, intensidad)))
            return Mal("Uso: " + std::string(p[0]) + " [intensidad 0..10]");
        vivo.FijarGiro(signo * intensidad * GiroPorIntensidad);
        return Bien(std::string(signo < 0 ? "Giro a la izquierda" : "Giro a la derecha") + " de intensidad "
                    + std::to_string(intensidad) + " (giro horizontal "
                    + std::to_string(signo * intensidad * GiroPorIntensidad) + ")");
    }

    TRespuestaOrden Contactos(const std::vector<std::string_view>& p, TEstadoVivo& vivo)
    {
        int calidad = 0;
        if (p.size() == 2 && Entero(p[1], ContactoMinimo, ContactoMaximo, calidad)) {
            vivo.FijarContactos(calidad);
            return Bien("Todos los contactos con calidad " + std::to_string(calidad));
        }
        int canal = 0;
        if (p.size() == 3 && Entero(p[1], 0, edk::NumCanales - 1, canal)
            && Entero(p[2], ContactoMinimo, ContactoMaximo, calidad)) {
            vivo.FijarContacto(static_cast<std::size_t>(canal), calidad);
            return Bien("Contacto del canal " + std::to_string(canal) + " con calidad " + std::to_string(calidad));
        }
        return Mal("Uso: contactos CALIDAD (0..4) | contactos CANAL (0..17) CALIDAD (0..4)");
    }

    TRespuestaOrden Bateria(const std::vector<std::string_view>& p, TEstadoVivo& vivo)
    {
        int nivel = 0;
        int maximo = 0;
        if (p.size() == 2 && Entero(p[1], 0, 1000, nivel)) {
            maximo = nivel;
        } else if (!(p.size() == 3 && Entero(p[1], 0, 1000, nivel) && Entero(p[2], 0, 1000, maximo)
                     && nivel <= maximo)) {
            return Mal("Uso: bateria NIVEL [MAXIMO], con 0 <= NIVEL <= MAXIMO <= 1000");
        }
        vivo.FijarBateria(nivel, maximo);
        return Bien("Batería " + std::to_string(nivel) + " de " + std::to_string(maximo));
    }

    TRespuestaOrden Casco(TEstadoVivo& vivo, bool poner)
    {
        if (vivo.CascoPuesto() == poner)
            return Bien(poner ? "El casco ya está puesto" : "El casco ya está quitado");
        vivo.FijarCasco(poner);
        return poner ? Bien("Casco puesto", aoPonerCasco) : Bien("Casco quitado", aoQuitarCasco);
    }

    bool Sola(const std::vector<std::string_view>& p)
    {
        return p.size() == 1;
    }

} // namespace

TRespuestaOrden TOrdenes::Ejecutar(std::string_view linea, TEstadoVivo& vivo)
{
    const std::vector<std::string_view> p = Palabras(linea);
    if (p.empty())
        return Bien("");
    if (p.size() > PalabrasMaximas)
        return Mal("Demasiadas palabras. Escriba \"ayuda\" para ver las órdenes.");
    const std::string_view orden = p[0];
    if (orden == "apretar")
        return Accion(p, vivo, true);
    if (orden == "tirar")
        return Accion(p, vivo, false);
    if (orden == "izquierda")
        return Giro(p, vivo, -1);
    if (orden == "derecha")
        return Giro(p, vivo, 1);
    if (orden == "contactos")
        return Contactos(p, vivo);
    if (orden == "bateria" || orden == "batería")
        return Bateria(p, vivo);
    if (orden == "senal" || orden == "señal") {
        int senal = 0;
        if (p.size() != 2 || !Entero(p[1], EDK_SIN_SENAL, EDK_SENAL_BUENA, senal))
            return Mal("Uso: senal 0|1|2 (0 sin señal, 1 mala, 2 buena)");
        vivo.FijarSenal(senal);
        return Bien("Señal " + std::to_string(senal));
    }
    if (Sola(p)) {
        if (orden == "neutro") {
            vivo.FijarExpresiva(ACC_EXP_NEUTRAL, 0);
            vivo.FijarCognitiva(ACC_COG_NEUTRAL, 0);
            return Bien("Expresión y acción cognitiva neutras");
        }
        if (orden == "centro") {
            vivo.FijarGiro(0);
            return Bien("Cabeza al centro (giro horizontal 0)");
        }
        if (orden == "poner")
            return Casco(vivo, true);
        if (orden == "quitar")
            return Casco(vivo, false);
        if (orden == "calibrar")
            return Bien("Giróscopo calibrado", aoGiroCalibrado);
        if (orden == "descalibrar")
            return Bien("Giróscopo sin calibrar", aoGiroSinCalibrar);
        if (orden == "restablecer") {
            vivo.Restablecer();
            return Bien("Se vuelven a enviar los valores del escenario");
        }
        if (orden == "estado") {
            std::string d = vivo.Describir();
            if (!d.empty() && d.back() == '\n')
                d.pop_back();
            return Bien(d);
        }
        if (orden == "ayuda")
            return Bien(Ayuda());
        if (orden == "salir")
            return Bien("Deteniendo el emulador", aoSalir);
    }
    return Mal("Orden no válida: \"" + std::string(linea.substr(0, 80))
               + "\". Escriba \"ayuda\" para ver las órdenes.");
}

std::string TOrdenes::Ayuda()
{
    return "Órdenes (cambian el estado que se envía a todos los clientes):\n"
           "  apretar [P]         apretar los dientes con potencia P (0..1, por defecto 1): avance\n"
           "  tirar [P]           acción cognitiva tirar con potencia P (0..1, por defecto 1): retroceso\n"
           "  neutro              expresión y acción cognitiva neutras\n"
           "  izquierda [N]       girar la cabeza a la izquierda con intensidad N (0..10, por defecto 5)\n"
           "  derecha [N]         girar la cabeza a la derecha con intensidad N (0..10, por defecto 5)\n"
           "  centro              cabeza quieta (giro horizontal 0)\n"
           "  senal S             señal inalámbrica: 0 sin señal, 1 mala, 2 buena\n"
           "  contactos C         calidad C (0..4) en los 18 contactos\n"
           "  contactos K C       calidad C (0..4) en el canal K (0..17)\n"
           "  bateria N [M]       batería N de M (M por defecto N)\n"
           "  quitar              quitar el casco (usuario eliminado; no se envían estados)\n"
           "  poner               poner el casco (usuario añadido)\n"
           "  calibrar            giróscopo calibrado\n"
           "  descalibrar         giróscopo sin calibrar\n"
           "  restablecer         olvidar los cambios: se envían los valores del escenario\n"
           "  estado              mostrar los cambios en vigor\n"
           "  ayuda               esta lista\n"
           "  salir               detener el emulador";
}

} // namespace emulador
