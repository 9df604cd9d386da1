#include "Grabadora.h"

#include "EscalasCasco.h"
#include "Protocolo.h"
#include "edk.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace emulador {

namespace {

    // What a scenario takes: its battery scale and its largest action bits.
    constexpr int BateriaEscenarioMaxima = 100;
    constexpr std::uint32_t UltimaCognitiva = ACC_COG_DESVANECER;
    constexpr std::uint32_t UltimaExpresiva = ACC_EXP_MEJILLA_DER;
    // The finest step of the recorded times.
    constexpr int DecimalesTiempo = 6;
    constexpr double SeparacionEvento = 1e-6;
    // How long the replay keeps the last record before the recording's end.
    constexpr double DuracionTrasUltimo = 1.0;

    // A decimal number with a point and no exponent, as scenarios read them.
    std::string Decimal(double v, int decimales)
    {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*f", decimales, v);
        std::string s = buf;
        if (s.find('.') != std::string::npos) {
            s.erase(s.find_last_not_of('0') + 1);
            if (s.back() == '.')
                s.pop_back();
        }
        return s == "-0" ? "0" : s;
    }

    std::string Tiempo(double t)
    {
        return Decimal(t, DecimalesTiempo);
    }

    bool AccionValida(std::uint32_t accion, std::uint32_t ultima)
    {
        return std::has_single_bit(accion) && accion <= ultima;
    }

    void Accion(std::string& s, const std::string& t, const char* orden, std::uint32_t accion, float potencia,
                std::uint32_t ultima)
    {
        if (AccionValida(accion, ultima) && potencia >= 0 && potencia <= 1)
            s += t + " " + orden + " " + std::to_string(accion) + " " + Decimal(potencia, 9) + "\n";
    }

} // namespace

bool TGrabadora::Abrir(const std::string& ruta)
{
    FFichero = TDescriptor(::open(ruta.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (FFichero.Fd() < 0) {
        FError = "no se puede crear la grabación " + ruta + ": " + std::strerror(errno);
        return false;
    }
    FTamano = 0;
    FFin.clear();
    return Escribir("# Grabado por gedanko-emulador: estados servidos (formato de escenario).\n");
}

std::string TGrabadora::Registro(double tiempo, const edk::TEstadoEmo& e, const edk::TEstadoEmo* anterior)
{
    const std::string t = Tiempo(tiempo);
    std::string s;
    if (!anterior || anterior->AccionCognitiva != e.AccionCognitiva
        || anterior->PotenciaCognitiva != e.PotenciaCognitiva)
        Accion(s, t, "cognitiva", e.AccionCognitiva, e.PotenciaCognitiva, UltimaCognitiva);
    if (!anterior || anterior->AccionExpresiva != e.AccionExpresiva
        || anterior->PotenciaExpresiva != e.PotenciaExpresiva)
        Accion(s, t, "expresiva", e.AccionExpresiva, e.PotenciaExpresiva, UltimaExpresiva);
    if (!anterior || anterior->Senal != e.Senal)
        s += t + " senal " + std::to_string(std::clamp(e.Senal, int {EDK_SIN_SENAL}, int {EDK_SENAL_BUENA})) + "\n";
    if (!anterior || anterior->Bateria != e.Bateria || anterior->BateriaMax != e.BateriaMax) {
        const int maximo = std::clamp(e.BateriaMax, 0, BateriaEscenarioMaxima);
        s += t + " bateria " + std::to_string(std::clamp(e.Bateria, 0, maximo)) + " " + std::to_string(maximo) + "\n";
    }
    if (!anterior || anterior->Contactos != e.Contactos) {
        s += t + " contactos";
        for (const int c : e.Contactos) {
            s += ' ';
            s += std::to_string(std::clamp(c, ContactoMinimo, ContactoMaximo));
        }
        s += "\n";
    }
    if (!anterior || anterior->GiroX != e.GiroX || anterior->GiroY != e.GiroY)
        s += t + " giro " + std::to_string(std::clamp(e.GiroX, -edk::GiroMaximo, edk::GiroMaximo)) + " "
             + std::to_string(std::clamp(e.GiroY, -edk::GiroMaximo, edk::GiroMaximo)) + "\n";
    return s;
}

std::string TGrabadora::Evento(const edk::TEvento& e)
{
    // An event comes just after the EmoState before it, so a replay gives that
    // EmoState first, as it was served.
    if (e.Tipo != EE_EmoStateUpdated && FAnterior)
        FTiempo += SeparacionEvento;
    const std::string t = Tiempo(FTiempo);
    switch (e.Tipo) {
    case EE_EmoStateUpdated: {
        FTiempo = std::max(FTiempo, static_cast<double>(e.Estado.Tiempo));
        // The changes, then the EmoState itself at its moment: the replay serves
        // exactly the EmoStates served here, no more and no fewer.
        std::string s = Registro(FTiempo, e.Estado, FAnterior ? &*FAnterior : nullptr) + Tiempo(FTiempo) + " estado\n";
        FAnterior = e.Estado;
        return s;
    }
    case EE_UserAdded:
        if (FCasco)
            return {};
        FCasco = true;
        FUsuario = e.Usuario;
        return t + " alta " + std::to_string(e.Usuario) + "\n";
    case EE_UserRemoved:
        if (!FCasco || e.Usuario != FUsuario)
            return {};
        FCasco = false;
        return t + " baja " + std::to_string(e.Usuario) + "\n";
    case edk::TipoInternoGiroCalibrado:
        return t + " giroscopio calibrado\n";
    case edk::TipoInternoGiroSinCalibrar:
        return t + " giroscopio sin-calibrar\n";
    default:
        return t + " evento " + std::to_string(e.Tipo) + " " + std::to_string(e.Usuario) + "\n";
    }
}

bool TGrabadora::Linea(std::string_view linea)
{
    edk::TEvento evento;
    if (!Activa() || !edk::InterpretarLinea(linea, evento))
        return Activa();
    const std::string registro = Evento(evento);
    return registro.empty() || Escribir(registro);
}

bool TGrabadora::Escribir(const std::string& registro)
{
    // The record goes in place of the closing 'fin', with a new one after it,
    // so the replay plays the last record too, for a while, before it ends.
    const std::string fin = Tiempo(FTiempo + DuracionTrasUltimo) + " fin\n";
    const std::string texto = registro + fin;
    if (EscribirEn(FTamano, texto) && ::ftruncate(FFichero.Fd(), FTamano + static_cast<off_t>(texto.size())) == 0) {
        FTamano += static_cast<off_t>(registro.size());
        FFin = fin;
        return true;
    }
    // A record only half on disk is taken back, so the file stays a scenario.
    FError = std::string("la grabación se detiene: ") + std::strerror(errno);
    if (::ftruncate(FFichero.Fd(), FTamano) != 0 || !EscribirEn(FTamano, FFin))
        FError += " (el escenario grabado queda sin 'fin')";
    FFichero.Cerrar();
    return false;
}

bool TGrabadora::EscribirEn(off_t posicion, const std::string& texto)
{
    std::size_t hecho = 0;
    while (hecho < texto.size()) {
        const ssize_t n
            = ::pwrite(FFichero.Fd(), texto.data() + hecho, texto.size() - hecho, posicion + static_cast<off_t>(hecho));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        hecho += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace emulador
