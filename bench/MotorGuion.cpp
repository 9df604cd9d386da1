// The scripted engine: every function of the engine's C API, answering as a
// remote emulator that is always reachable and has one user, and our engine's
// wake-up descriptor (hidden when GUION_SIN_DESCRIPTOR is set, to measure a
// loop that polls).
#include "MotorGuion.h"

#include "Descriptor.h"
#include "EscalasCasco.h"
#include "Modelo.h"
#include "OrdenVehiculo.h"
#include "edk.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <sys/timerfd.h>

namespace {

struct TEvento {
    int Tipo = EE_UnknownEvent;
    std::uint64_t Indice = 0;
};

struct TEstado {
    std::uint64_t Indice = 0;
};

constexpr unsigned UsuarioGuion = 1;
// Clench power: 0.70 to 0.89, a step with every state, above the forward
// threshold throughout.
float PotenciaApretar(std::uint64_t indice)
{
    return 0.70f + 0.01f * static_cast<float>(indice % 20);
}

struct TMotor {
    TModoGuion Modo = TModoGuion::Ritmo;
    std::int64_t Periodo = 1'000'000'000 / edk::EstadosPorSegundo;
    std::size_t Capacidad = 0;
    std::uint32_t EstadosPorOrden = 1;
    bool Conectado = false;
    bool UsuarioEntregado = false;
    std::int64_t Inicio = 0;
    std::uint64_t Siguiente = 0;
    std::vector<TSellosEstado> Sellos;
    // Readable once the next event is due: a timer on the steady clock.
    TDescriptor Despertador {::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)};
};

TMotor& Motor()
{
    static TMotor motor;
    return motor;
}

bool EsApretar(std::uint64_t indice)
{
    return (indice / Motor().EstadosPorOrden) % 2 == 0;
}

void Armar();

int Conectar()
{
    TMotor& m = Motor();
    m.Conectado = true;
    m.UsuarioEntregado = false;
    m.Siguiente = 0;
    m.Sellos.clear();
    m.Inicio = AhoraGuion();
    Armar();
    return EDK_SIN_ERRORES;
}

// Sets the wake-up timer to the next event's moment (at once when it is
// already due, never in silence).
void Armar()
{
    TMotor& m = Motor();
    std::int64_t momento = 0; // 0 stops the timer
    if (m.Conectado && m.Modo != TModoGuion::Silencio) {
        momento = AhoraGuion();
        if (m.UsuarioEntregado && m.Modo == TModoGuion::Ritmo)
            momento = m.Inicio + static_cast<std::int64_t>(m.Siguiente + 1) * m.Periodo;
    }
    itimerspec valor {};
    valor.it_value.tv_sec = static_cast<time_t>(momento / 1'000'000'000);
    valor.it_value.tv_nsec = static_cast<long>(momento % 1'000'000'000);
    ::timerfd_settime(m.Despertador.Fd(), TFD_TIMER_ABSTIME, &valor, nullptr);
}

// Hands out the next EmoState when one is due.
bool EntregarEstado(TEvento& evento)
{
    TMotor& m = Motor();
    const std::int64_t ahora = AhoraGuion();
    std::int64_t disponible = ahora;
    if (m.Modo == TModoGuion::Ritmo) {
        disponible = m.Inicio + static_cast<std::int64_t>(m.Siguiente + 1) * m.Periodo;
        if (ahora < disponible)
            return false;
    }
    if (m.Sellos.size() < m.Capacidad)
        m.Sellos.push_back({disponible, ahora});
    evento.Tipo = EE_EmoStateUpdated;
    evento.Indice = m.Siguiente++;
    return true;
}

} // namespace

void ConfigurarGuion(TModoGuion modo, double estadosPorSegundo, std::size_t capacidad, std::uint32_t estadosPorOrden)
{
    TMotor& m = Motor();
    m.Modo = modo;
    m.EstadosPorOrden = std::max<std::uint32_t>(1, estadosPorOrden);
    if (estadosPorSegundo > 0)
        m.Periodo = static_cast<std::int64_t>(1e9 / estadosPorSegundo);
    m.Capacidad = capacidad;
    m.Sellos.clear();
    m.Sellos.reserve(capacidad);
}

const std::vector<TSellosEstado>& SellosGuion()
{
    return Motor().Sellos;
}

std::uint64_t EstadosEntregadosGuion()
{
    return Motor().Siguiente;
}

std::uint16_t OrdenEsperadaGuion(std::uint64_t indice)
{
    return EsApretar(indice) ? OrdenVehiculo(dirAvance, giroNinguno) : OrdenParada;
}

std::int64_t AhoraGuion()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// --- The engine's C API ------------------------------------------------------

EmoEngineEventHandle EE_EmoEngineEventCreate(void)
{
    return new TEvento;
}
void EE_EmoEngineEventFree(EmoEngineEventHandle h)
{
    delete static_cast<TEvento*>(h);
}
EmoStateHandle EE_EmoStateCreate(void)
{
    return new TEstado;
}
void EE_EmoStateFree(EmoStateHandle h)
{
    delete static_cast<TEstado*>(h);
}
// The parameter carries nothing: any non-null token serves.
OptimizationParamHandle EE_OptimizationParamCreate(void)
{
    return new int(0);
}
void EE_OptimizationParamFree(OptimizationParamHandle h)
{
    delete static_cast<int*>(h);
}

int EE_EngineConnect(void)
{
    return Conectar();
}
int EE_EngineRemoteConnect(const char*, unsigned short)
{
    return Conectar();
}

int EE_EngineDisconnect(void)
{
    Motor().Conectado = false;
    Armar();
    return EDK_SIN_ERRORES;
}

int EE_EngineGetNextEvent(EmoEngineEventHandle h)
{
    TMotor& m = Motor();
    if (!m.Conectado)
        return EDK_MOTOR_NO_INICIALIZADO;
    if (!h)
        return EDK_PARAMETRO_NO_VALIDO;
    auto& evento = *static_cast<TEvento*>(h);
    if (m.Modo == TModoGuion::Silencio)
        return EDK_SIN_EVENTOS;
    if (!m.UsuarioEntregado) {
        m.UsuarioEntregado = true;
        evento.Tipo = EE_UserAdded;
        return EDK_SIN_ERRORES;
    }
    if (EntregarEstado(evento))
        return EDK_SIN_ERRORES;
    Armar();
    return EDK_SIN_EVENTOS;
}

int EDK_DescriptorEventos(void)
{
    static const bool oculto = std::getenv("GUION_SIN_DESCRIPTOR") != nullptr;
    return oculto ? -1 : Motor().Despertador.Fd();
}

int EE_EmoEngineEventGetType(EmoEngineEventHandle h)
{
    return h ? static_cast<TEvento*>(h)->Tipo : EE_UnknownEvent;
}

int EE_EmoEngineEventGetUserId(EmoEngineEventHandle, unsigned int* userId)
{
    if (userId)
        *userId = UsuarioGuion;
    return EDK_SIN_ERRORES;
}

int EE_EmoEngineEventGetEmoState(EmoEngineEventHandle hEvento, EmoStateHandle hEstado)
{
    if (!hEvento || !hEstado)
        return EDK_PARAMETRO_NO_VALIDO;
    const auto& evento = *static_cast<TEvento*>(hEvento);
    if (evento.Tipo != EE_EmoStateUpdated)
        return EDK_PARAMETRO_NO_VALIDO;
    static_cast<TEstado*>(hEstado)->Indice = evento.Indice;
    return EDK_SIN_ERRORES;
}

static std::uint64_t Indice(EmoStateHandle h)
{
    return h ? static_cast<TEstado*>(h)->Indice : 0;
}

unsigned int ES_CognitivGetCurrentAction(EmoStateHandle)
{
    return ACC_COG_NEUTRAL;
}
float ES_CognitivGetCurrentActionPower(EmoStateHandle)
{
    return 0.0f;
}

unsigned int ES_ExpressivGetLowerFaceAction(EmoStateHandle h)
{
    return EsApretar(Indice(h)) ? ACC_EXP_APRETAR_DIENTES : ACC_EXP_NEUTRAL;
}

float ES_ExpressivGetLowerFaceActionPower(EmoStateHandle h)
{
    return EsApretar(Indice(h)) ? PotenciaApretar(Indice(h)) : 0.0f;
}

float ES_GetTimeFromStart(EmoStateHandle h)
{
    const TMotor& m = Motor();
    const double segundos = m.Modo == TModoGuion::Ritmo ? double(Indice(h) + 1) * double(m.Periodo) / 1e9
                                                        : double(Indice(h) + 1) / edk::EstadosPorSegundo;
    return static_cast<float>(segundos);
}

int ES_GetWirelessSignalStatus(EmoStateHandle)
{
    return EDK_SENAL_BUENA;
}

void ES_GetBatteryChargeLevel(EmoStateHandle, int* level, int* maxLevel)
{
    if (level)
        *level = 4;
    if (maxLevel)
        *maxLevel = 5;
}

int ES_GetContactQualityFromAllChannels(EmoStateHandle, int* values, size_t count)
{
    for (size_t i = 0; values && i < count; ++i)
        values[i] = ContactoMaximo;
    return EDK_SIN_ERRORES;
}

int EE_OptimizationSetVitalAlgorithm(OptimizationParamHandle, int, unsigned int)
{
    return EDK_SIN_ERRORES;
}

int EE_OptimizationGetVitalAlgorithm(OptimizationParamHandle, int suite, unsigned int* actions)
{
    if (actions)
        *actions = suite == EDK_SUITE_COGNITIVA ? (ACC_COG_NEUTRAL | ACC_COG_TIRAR)
                                                : (ACC_EXP_NEUTRAL | ACC_EXP_APRETAR_DIENTES);
    return EDK_SIN_ERRORES;
}

int EE_OptimizationEnable(OptimizationParamHandle)
{
    return EDK_SIN_ERRORES;
}
void EE_OptimizationDisable(void) { }

int EE_LoadUserProfile(unsigned int, const char*)
{
    return EDK_SIN_ERRORES;
}
int EE_ExpressivSetThreshold(unsigned int, unsigned int, int, int)
{
    return EDK_SIN_ERRORES;
}

int EE_ExpressivGetThreshold(unsigned int, unsigned int, int, int* value)
{
    if (value)
        *value = 500;
    return EDK_SIN_ERRORES;
}

int EE_CognitivGetActionSensitivity(unsigned int, int* s1, int* s2, int* s3, int* s4)
{
    for (int* s : {s1, s2, s3, s4})
        if (s)
            *s = 5;
    return EDK_SIN_ERRORES;
}

int EE_CognitivSetActionSensitivity(unsigned int, int, int, int, int)
{
    return EDK_SIN_ERRORES;
}

int EE_CognitivGetTrainedSignatureActions(unsigned int, unsigned int* actions)
{
    if (actions)
        *actions = ACC_COG_NEUTRAL | ACC_COG_TIRAR;
    return EDK_SIN_ERRORES;
}

int EE_CognitivGetActiveActions(unsigned int, unsigned int* actions)
{
    return EE_CognitivGetTrainedSignatureActions(0, actions);
}

int EE_ExpressivGetTrainedSignatureActions(unsigned int, unsigned int* actions)
{
    if (actions)
        *actions = ACC_EXP_NEUTRAL | ACC_EXP_APRETAR_DIENTES;
    return EDK_SIN_ERRORES;
}

int EE_CognitivGetOverallSkillRating(unsigned int, float* rating)
{
    if (rating)
        *rating = 0.5f;
    return EDK_SIN_ERRORES;
}

int EE_HeadsetGetGyroDelta(unsigned int, int* dx, int* dy)
{
    if (dx)
        *dx = 0;
    if (dy)
        *dy = 0;
    return EDK_SIN_ERRORES;
}

int EE_HeadsetGyroRezero(unsigned int)
{
    return EDK_SIN_ERRORES;
}
