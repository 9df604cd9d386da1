#include "EntradaOsc.h"

#include "EscalasCasco.h"
#include "Modelo.h"
#include "Tipos.h"

#include <lo/lo_lowlevel.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

namespace emulador {

namespace {

    constexpr std::string_view MarcaBundle("#bundle\0", 8);
    constexpr std::size_t CabeceraBundle = 16; // the mark and the time tag
    constexpr int AnidamientoMaximo = 8;
    constexpr std::size_t MensajesPorPaqueteMaximos = 128;
    constexpr std::string_view ClavePaquete = "(paquete)";
    constexpr std::string_view ClaveOtras = "(otras)";
    constexpr std::size_t ClavesMaximas = 128;
    // A turn rate counts for this long at most: a gap in the rates is a still head.
    constexpr double PasoGiroMaximo = 0.5;
    constexpr int BateriaMaxima = 1000;
    // Far beyond any head; it keeps the sum of the movement finite.
    constexpr double VelocidadGiroMaxima = 10000;

    struct TLiberarMensaje {
        void operator()(lo_message m) const { lo_message_free(m); }
    };
    using TMensajeLo = std::unique_ptr<std::remove_pointer_t<lo_message>, TLiberarMensaje>;

    std::uint32_t LeerBigEndian(const unsigned char* p)
    {
        return (std::uint32_t {p[0]} << 24) | (std::uint32_t {p[1]} << 16) | (std::uint32_t {p[2]} << 8) | p[3];
    }

    // An address as the console shows it: printable and short.
    std::string Mostrable(std::string_view texto)
    {
        constexpr std::size_t Maximo = 80;
        std::string s;
        for (const char c : texto.substr(0, Maximo))
            s += (c >= ' ' && c < 0x7F) ? c : '?';
        return texto.size() > Maximo ? s + "..." : s;
    }

    bool Numerico(char tipo)
    {
        return tipo == 'i' || tipo == 'f' || tipo == 'd' || tipo == 'h' || tipo == 'T' || tipo == 'F';
    }

    // liblo's arguments lie on 4-byte boundaries only, which its 8-byte
    // aligned union does not promise: each value is copied out as bytes.
    template <typename T> double Copiar(const lo_arg* a)
    {
        T v {};
        std::memcpy(&v, a, sizeof v);
        return static_cast<double>(v);
    }

    TArgumentoOsc Argumento(char tipo, const lo_arg* a)
    {
        switch (tipo) {
        case 'i':
            return {tipo, Copiar<std::int32_t>(a)};
        case 'f':
            return {tipo, Copiar<float>(a)};
        case 'd':
            return {tipo, Copiar<double>(a)};
        case 'h':
            return {tipo, Copiar<std::int64_t>(a)};
        case 'T':
            return {tipo, 1};
        default:
            return {tipo, 0};
        }
    }

    int Entero(double v, int minimo, int maximo)
    {
        return static_cast<int>(
            std::clamp(std::nearbyint(v), static_cast<double>(minimo), static_cast<double>(maximo)));
    }

    // A power 0..1, zero under the threshold.
    float Potencia(double v, double umbral)
    {
        return std::fabs(v) < umbral ? 0.0F : static_cast<float>(std::clamp(v, 0.0, 1.0));
    }

    int GiroX(double giro)
    {
        return static_cast<int>(std::lround(giro * EscalaLectura * GiroPorMagnitud));
    }

} // namespace

TEntradaOsc::TEntradaOsc(const TMapaOsc& mapa, double ahora)
    : FMapa(mapa),
      FConSensor(edk::NumCanales, false),
      FFinRetencion(mapa.Reglas().size()),
      FGradosHasta(ahora),
      FUltimo(ahora),
      FUltimoResumen(ahora)
{
    for (const TReglaOsc& r : mapa.Reglas())
        for (const int canal : r.Canales)
            FConSensor[static_cast<std::size_t>(canal)] = true;
}

bool TEntradaOsc::Paquete(const void* datos, std::size_t tamano, double ahora, TEstadoVivo& vivo)
{
    if (tamano > TamanoMaximoPaqueteOsc) {
        Avisar(ClavePaquete,
               "paquete OSC demasiado grande (" + std::to_string(tamano) + " bytes; "
                   + std::to_string(TamanoMaximoPaqueteOsc) + " como mucho): se descarta",
               ahora);
        return false;
    }
    // A packet is applied whole or not at all: every element is decoded and
    // checked before any is applied.
    FMensajes.clear();
    if (!Elementos(static_cast<const unsigned char*>(datos), tamano, 0, ahora))
        return false;
    for (const TMensajeOsc& m : FMensajes) {
        if (!FMapa.Contiene(m.Direccion))
            continue;
        if (const std::optional<std::string> falta = Falta(m.Direccion, m.Argumentos)) {
            Avisar(m.Direccion, Mostrable(m.Direccion) + ": " + *falta + "; se descarta el paquete", ahora);
            return false;
        }
    }
    bool inmediato = false;
    for (const TMensajeOsc& m : FMensajes)
        inmediato = Mensaje(m.Direccion, m.Argumentos, ahora, vivo) || inmediato;
    return inmediato;
}

bool TEntradaOsc::Elementos(const unsigned char* datos, std::size_t tamano, int profundidad, double ahora)
{
    const std::string_view vista(reinterpret_cast<const char*>(datos), tamano);
    if (!vista.starts_with(MarcaBundle))
        return Decodificar(datos, tamano, ahora);
    if (tamano < CabeceraBundle || profundidad >= AnidamientoMaximo) {
        Avisar(ClavePaquete, "paquete OSC mal formado (bundle incompleto o demasiado anidado): se descarta", ahora);
        return false;
    }
    std::size_t i = CabeceraBundle;
    while (i < tamano) {
        const std::size_t largo = tamano - i >= 4 ? LeerBigEndian(datos + i) : 0;
        if (largo == 0 || largo % 4 != 0 || largo > tamano - i - 4) {
            Avisar(ClavePaquete, "paquete OSC mal formado (elemento de bundle con tamaño no válido): se descarta",
                   ahora);
            return false;
        }
        if (!Elementos(datos + i + 4, largo, profundidad + 1, ahora))
            return false;
        i += 4 + largo;
    }
    return true;
}

bool TEntradaOsc::Decodificar(const unsigned char* datos, std::size_t tamano, double ahora)
{
    if (FMensajes.size() >= MensajesPorPaqueteMaximos) {
        Avisar(ClavePaquete, "paquete OSC con más de 128 mensajes: se descarta", ahora);
        return false;
    }
    // liblo checks the whole message; it reads a copy, never the caller's buffer.
    std::vector<unsigned char> copia(datos, datos + tamano);
    int resultado = 0;
    const TMensajeLo mensaje(lo_message_deserialise(copia.data(), copia.size(), &resultado));
    if (!mensaje) {
        Avisar(ClavePaquete, "paquete OSC mal formado (" + std::to_string(tamano) + " bytes): se descarta", ahora);
        return false;
    }
    TMensajeOsc& m = FMensajes.emplace_back();
    m.Direccion.assign(reinterpret_cast<const char*>(copia.data()),
                       ::strnlen(reinterpret_cast<const char*>(copia.data()), copia.size()));
    const char* tipos = lo_message_get_types(mensaje.get());
    lo_arg** valores = lo_message_get_argv(mensaje.get());
    const auto cuantos = static_cast<std::size_t>(lo_message_get_argc(mensaje.get()));
    m.Argumentos.reserve(cuantos);
    for (std::size_t i = 0; i < cuantos && tipos && tipos[i] && valores; ++i)
        m.Argumentos.push_back(Argumento(tipos[i], valores[i]));
    return true;
}

bool TEntradaOsc::Mensaje(std::string_view direccion, const std::vector<TArgumentoOsc>& argumentos, double ahora,
                          TEstadoVivo& vivo)
{
    if (!Aplicable(direccion, argumentos, ahora))
        return false;
    const TEstadoVivo antes = vivo;
    FUltimo = ahora;
    Mover(ahora, vivo);
    if (!FFresca) {
        FFresca = true;
        FAvisos.emplace_back("vuelven a llegar datos OSC");
        vivo.FijarSenal(FSenal.value_or(EDK_SENAL_BUENA));
    }
    const std::vector<TReglaOsc>& reglas = FMapa.Reglas();
    for (std::size_t i = 0; i < reglas.size(); ++i)
        if (reglas[i].Direccion == direccion)
            Aplicar(i, reglas[i].Valor(argumentos[reglas[i].Argumento].Valor), ahora, vivo);
    return !antes.MismaDeteccion(vivo);
}

bool TEntradaOsc::Aplicable(std::string_view direccion, const std::vector<TArgumentoOsc>& argumentos, double ahora)
{
    if (!FMapa.Contiene(direccion)) {
        SinRegla(direccion);
        return false;
    }
    if (const std::optional<std::string> falta = Falta(direccion, argumentos)) {
        Avisar(direccion, Mostrable(direccion) + ": " + *falta + "; se descarta el mensaje", ahora);
        return false;
    }
    return true;
}

std::optional<std::string> TEntradaOsc::Falta(std::string_view direccion,
                                              const std::vector<TArgumentoOsc>& argumentos) const
{
    for (const TReglaOsc& r : FMapa.Reglas()) {
        if (r.Direccion != direccion)
            continue;
        if (r.Argumento >= argumentos.size())
            return "falta el argumento " + std::to_string(r.Argumento);
        if (!Numerico(argumentos[r.Argumento].Tipo))
            return "el argumento " + std::to_string(r.Argumento) + " es de tipo '"
                   + std::string(1, argumentos[r.Argumento].Tipo) + "', no un número";
        if (!std::isfinite(r.Valor(argumentos[r.Argumento].Valor)))
            return "el argumento " + std::to_string(r.Argumento) + " no es un número finito";
    }
    return std::nullopt;
}

void TEntradaOsc::SinRegla(std::string_view direccion)
{
    // A correct stream carries many addresses a map does not use: each is
    // named once, the rest only counted for the summary.
    ++FSinRegla;
    if (FDireccionesSinRegla.size() >= ClavesMaximas || !FDireccionesSinRegla.emplace(direccion).second)
        return;
    FAvisos.push_back("aviso: dirección OSC sin regla en el mapa: " + Mostrable(direccion)
                      + " (se ignora; no se vuelve a avisar de ella)");
}

void TEntradaOsc::Aplicar(std::size_t indice, double valor, double ahora, TEstadoVivo& vivo)
{
    const TReglaOsc& r = FMapa.Reglas()[indice];
    if (r.Retencion > 0) {
        // A pulse: a value under the threshold does not cut a hold short.
        if (std::fabs(valor) < r.Umbral || valor == 0)
            return;
        FFinRetencion[indice] = ahora + r.Retencion;
    }
    Fijar(indice, valor, ahora, vivo);
}

void TEntradaOsc::Fijar(std::size_t indice, double valor, double ahora, TEstadoVivo& vivo)
{
    const TReglaOsc& r = FMapa.Reglas()[indice];
    switch (r.Destino) {
    case TDestinoOsc::Avance: {
        const float p = Potencia(valor, r.Umbral);
        vivo.FijarExpresiva(p > 0 ? ACC_EXP_APRETAR_DIENTES : ACC_EXP_NEUTRAL, p);
        break;
    }
    case TDestinoOsc::Retroceso: {
        const float p = Potencia(valor, r.Umbral);
        vivo.FijarCognitiva(p > 0 ? ACC_COG_TIRAR : ACC_COG_NEUTRAL, p);
        break;
    }
    case TDestinoOsc::Giro:
        vivo.FijarGiro(GiroX(std::fabs(valor) < r.Umbral ? 0 : std::clamp(valor, -1.0, 1.0)));
        break;
    case TDestinoOsc::GiroVelocidad:
        // The movement so far is summed with the rate before, then this rate holds.
        Mover(ahora, vivo);
        FVelocidad = std::clamp(valor, -VelocidadGiroMaxima, VelocidadGiroMaxima);
        FTiempoVelocidad = ahora;
        FBanda = r.Umbral;
        vivo.FijarMovimiento(FGrados, FBanda);
        break;
    case TDestinoOsc::Contacto: {
        // Under the rule's threshold the fit is bad, whatever the scale gives.
        int calidad = Entero(valor, ContactoMinimo, ContactoMaximo);
        if (calidad < r.Umbral)
            calidad = std::min(calidad, ContactoUtilizable - 1);
        if (const std::optional<int> otros = FMapa.OtrosContactos())
            for (std::size_t canal = 0; canal < FConSensor.size(); ++canal)
                if (!FConSensor[canal])
                    vivo.FijarContacto(canal, *otros);
        for (const int canal : r.Canales)
            vivo.FijarContacto(static_cast<std::size_t>(canal), calidad);
        break;
    }
    case TDestinoOsc::Senal:
        AplicarSenal(Entero(valor, EDK_SIN_SENAL, EDK_SENAL_BUENA), vivo);
        break;
    case TDestinoOsc::Bateria:
        vivo.FijarNivelBateria(Entero(valor, 0, BateriaMaxima));
        break;
    case TDestinoOsc::BateriaMaxima:
        vivo.FijarBateriaMaxima(Entero(valor, 0, BateriaMaxima));
        break;
    case TDestinoOsc::Casco: {
        const bool puesto = valor >= r.Umbral;
        if (vivo.CascoPuesto() != puesto) {
            vivo.FijarCasco(puesto);
            FAcciones.push_back(puesto ? aoPonerCasco : aoQuitarCasco);
        }
        break;
    }
    }
}

void TEntradaOsc::AplicarSenal(int senal, TEstadoVivo& vivo)
{
    FSenal = senal;
    vivo.FijarSenal(senal);
}

void TEntradaOsc::Mover(double ahora, TEstadoVivo& vivo)
{
    if (FTiempoVelocidad) {
        const double hasta = std::min(ahora, *FTiempoVelocidad + PasoGiroMaximo);
        if (hasta > FGradosHasta)
            FGrados += FVelocidad * (hasta - FGradosHasta);
        vivo.FijarMovimiento(FGrados, FBanda);
    }
    FGradosHasta = std::max(FGradosHasta, ahora);
}

void TEntradaOsc::Reposar(double ahora, TEstadoVivo& vivo)
{
    // After an outage no drive value is current: each starts from rest until
    // its own address is received again.
    const std::vector<TReglaOsc>& reglas = FMapa.Reglas();
    for (std::size_t i = 0; i < reglas.size(); ++i) {
        const TDestinoOsc d = reglas[i].Destino;
        if (d == TDestinoOsc::Avance || d == TDestinoOsc::Retroceso || d == TDestinoOsc::Giro) {
            FFinRetencion[i].reset();
            Fijar(i, 0, ahora, vivo);
        }
    }
    FVelocidad = 0;
}

bool TEntradaOsc::Revisar(double ahora, TEstadoVivo& vivo)
{
    const TEstadoVivo antes = vivo;
    Mover(ahora, vivo);
    const std::vector<TReglaOsc>& reglas = FMapa.Reglas();
    for (std::size_t i = 0; i < reglas.size(); ++i) {
        if (!FFinRetencion[i] || ahora < *FFinRetencion[i])
            continue;
        // The pulse is over: its target falls back to rest.
        FFinRetencion[i].reset();
        Fijar(i, 0, ahora, vivo);
    }
    if (FSinRegla > 0 && ahora - FUltimoResumen >= IntervaloResumenOsc) {
        FAvisos.push_back("aviso: " + std::to_string(FSinRegla)
                          + " mensajes OSC ignorados en el último minuto por no tener regla en el mapa");
        FSinRegla = 0;
        FUltimoResumen = ahora;
    }
    if (FFresca && ahora - FUltimo >= SilencioOscMaximo) {
        FFresca = false;
        FAvisos.emplace_back("sin datos OSC desde hace 500 ms: se envía el estado sin señal inalámbrica");
        vivo.FijarSenal(EDK_SIN_SENAL);
        Reposar(ahora, vivo);
    }
    return !antes.MismaDeteccion(vivo);
}

void TEntradaOsc::Avisar(std::string_view clave, const std::string& texto, double ahora)
{
    auto it = FUltimoAviso.find(clave);
    if (it == FUltimoAviso.end()) {
        if (FUltimoAviso.size() >= ClavesMaximas)
            clave = ClaveOtras;
        it = FUltimoAviso.find(clave);
        if (it == FUltimoAviso.end())
            it = FUltimoAviso.emplace(std::string(clave), ahora - IntervaloAvisosOsc).first;
    }
    if (ahora - it->second < IntervaloAvisosOsc)
        return;
    it->second = ahora;
    FAvisos.push_back("aviso: " + texto);
}

} // namespace emulador
