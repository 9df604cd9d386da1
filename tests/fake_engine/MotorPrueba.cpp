// The scriptable test engine: state of TMotorPrueba and the C functions of
// edk.h answering from it.
#include "MotorPrueba.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <sys/eventfd.h>
#include <type_traits>
#include <unistd.h>

namespace {

// Handle tokens: numbers well away from null, never reused.
std::uintptr_t GSiguienteManejador = 0x1000;

std::string Argumento(const char* texto)
{
    return texto ? "\"" + std::string(texto) + "\"" : std::string("null");
}

std::string Argumento(void* manejador)
{
    return MotorPrueba().Nombre(manejador);
}

template <typename T>
requires std::is_arithmetic_v<T> std::string Argumento(T valor)
{
    return std::to_string(valor);
}

template <typename... A> void Anotar(const char* funcion, A... argumentos)
{
    std::string texto = std::string(funcion) + "(";
    bool primero = true;
    ((texto += (primero ? "" : ","), texto += Argumento(argumentos), primero = false), ...);
    MotorPrueba().Registrar(texto + ")");
}

} // namespace

TMotorPrueba& MotorPrueba()
{
    static TMotorPrueba motor;
    return motor;
}

void TMotorPrueba::Reiniciar()
{
    *this = TMotorPrueba();
    Sincronizar();
}

int TMotorPrueba::Despertador()
{
    static const int descriptor = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    return descriptor;
}

void TMotorPrueba::Sincronizar() const
{
    const std::lock_guard cerrojo(*FCerrojo);
    eventfd_t valor = 0;
    ::eventfd_read(Despertador(), &valor); // back to not readable
    if (!FEventos.empty() || !FEntrantes.empty())
        ::eventfd_write(Despertador(), 1);
}

void TMotorPrueba::EncolarDesdeOtroHilo(const TEventoPrueba& evento)
{
    const std::lock_guard cerrojo(*FCerrojo);
    FEntrantes.push_back(evento);
    ::eventfd_write(Despertador(), 1);
}

void TMotorPrueba::FijarResultado(const std::string& funcion, int codigo)
{
    FCodigos[funcion] = codigo;
}

void TMotorPrueba::EncolarResultado(const std::string& funcion, int codigo)
{
    FCodigosEncolados[funcion].push_back(codigo);
}

void TMotorPrueba::EncolarEvento(const TEventoPrueba& evento)
{
    FEventos.push_back(evento);
    Sincronizar();
}

void TMotorPrueba::EncolarEvento(int tipo, unsigned usuario, int resultadoUsuario)
{
    TEventoPrueba evento;
    evento.Tipo = tipo;
    evento.Usuario = usuario;
    evento.ResultadoUsuario = resultadoUsuario;
    EncolarEvento(evento);
}

void TMotorPrueba::EncolarEstado(const TEstadoPrueba& estado, unsigned usuario)
{
    TEventoPrueba evento;
    evento.Tipo = EE_EmoStateUpdated;
    evento.Usuario = usuario;
    evento.Estado = estado;
    EncolarEvento(evento);
}

void TMotorPrueba::EncolarGiro(int dx, int dy)
{
    FGiros.emplace_back(dx, dy);
}

std::vector<std::string> TMotorPrueba::LlamadasDe(std::string_view funcion) const
{
    std::vector<std::string> resultado;
    for (const std::string& llamada : FLlamadas)
        if (llamada.size() > funcion.size() && llamada.compare(0, funcion.size(), funcion) == 0
            && llamada[funcion.size()] == '(')
            resultado.push_back(llamada);
    return resultado;
}

int TMotorPrueba::Cuenta(std::string_view funcion) const
{
    return static_cast<int>(LlamadasDe(funcion).size());
}

std::vector<void*> TMotorPrueba::Manejadores() const
{
    return FOrden;
}

int TMotorPrueba::Liberaciones(const void* manejador) const
{
    auto it = FManejadores.find(manejador);
    return it == FManejadores.end() ? 0 : it->second.Liberaciones;
}

bool TMotorPrueba::TodoLiberado() const
{
    return std::all_of(FManejadores.begin(), FManejadores.end(),
                       [](const auto& par) { return par.second.Liberaciones == 1; });
}

std::string TMotorPrueba::Nombre(const void* manejador) const
{
    if (!manejador)
        return "null";
    auto it = FManejadores.find(manejador);
    if (it == FManejadores.end())
        return "?";
    return it->second.Clase + std::to_string(it->second.Numero);
}

void* TMotorPrueba::Crear(char clase)
{
    void* manejador = reinterpret_cast<void*>(GSiguienteManejador);
    GSiguienteManejador += 0x10;
    TManejador datos;
    datos.Clase = clase;
    datos.Numero = ++FContadores[clase];
    FManejadores.emplace(manejador, datos);
    FOrden.push_back(manejador);
    return manejador;
}

void TMotorPrueba::Liberar(const char* funcion, void* manejador, char clase)
{
    auto it = FManejadores.find(manejador);
    if (it == FManejadores.end() || it->second.Clase != clase) {
        FAnomalias.push_back(std::string(funcion) + ": handle " + Nombre(manejador) + " not of this kind");
        return;
    }
    if (++it->second.Liberaciones > 1)
        FAnomalias.push_back(std::string(funcion) + ": " + Nombre(manejador) + " freed again");
}

TMotorPrueba::TManejador* TMotorPrueba::Buscar(const char* funcion, void* manejador, char clase)
{
    auto it = FManejadores.find(manejador);
    if (it == FManejadores.end() || it->second.Clase != clase) {
        FAnomalias.push_back(std::string(funcion) + ": handle " + Nombre(manejador) + " not of this kind");
        return nullptr;
    }
    if (it->second.Liberaciones > 0) {
        FAnomalias.push_back(std::string(funcion) + ": " + Nombre(manejador) + " used after free");
        return nullptr;
    }
    return &it->second;
}

void TMotorPrueba::AlLlamar(const std::string& funcion, std::function<void()> accion)
{
    FAcciones[funcion] = std::move(accion);
}

int TMotorPrueba::Codigo(const std::string& funcion)
{
    // A copy: the action may script the engine, this very map included.
    if (auto accion = FAcciones.find(funcion); accion != FAcciones.end()) {
        const std::function<void()> hacer = accion->second;
        hacer();
    }
    auto cola = FCodigosEncolados.find(funcion);
    if (cola != FCodigosEncolados.end() && !cola->second.empty()) {
        int codigo = cola->second.front();
        cola->second.pop_front();
        return codigo;
    }
    auto fijo = FCodigos.find(funcion);
    return fijo == FCodigos.end() ? EDK_SIN_ERRORES : fijo->second;
}

bool TMotorPrueba::SiguienteEvento(TEventoPrueba& evento)
{
    {
        const std::lock_guard cerrojo(*FCerrojo);
        FEventos.insert(FEventos.end(), FEntrantes.begin(), FEntrantes.end());
        FEntrantes.clear();
    }
    if (FEventos.empty())
        return false;
    evento = FEventos.front();
    FEventos.pop_front();
    Sincronizar();
    return true;
}

void TMotorPrueba::SiguienteGiro(int& dx, int& dy)
{
    if (FGiros.empty()) {
        dx = GiroX;
        dy = GiroY;
        return;
    }
    dx = FGiros.front().first;
    dy = FGiros.front().second;
    FGiros.pop_front();
}

// --- The engine's C API ---------------------------------------------------

namespace {

TMotorPrueba& M()
{
    return MotorPrueba();
}

const TEstadoPrueba* EstadoDe(const char* funcion, EmoStateHandle hState)
{
    TMotorPrueba::TManejador* datos = M().Buscar(funcion, hState, 'S');
    return datos ? &datos->Estado : nullptr;
}

} // namespace

extern "C" {

EmoEngineEventHandle EE_EmoEngineEventCreate(void)
{
    Anotar("EE_EmoEngineEventCreate");
    return M().Crear('E');
}

void EE_EmoEngineEventFree(EmoEngineEventHandle hEvent)
{
    Anotar("EE_EmoEngineEventFree", hEvent);
    M().Liberar("EE_EmoEngineEventFree", hEvent, 'E');
}

EmoStateHandle EE_EmoStateCreate(void)
{
    Anotar("EE_EmoStateCreate");
    return M().Crear('S');
}

void EE_EmoStateFree(EmoStateHandle hState)
{
    Anotar("EE_EmoStateFree", hState);
    M().Liberar("EE_EmoStateFree", hState, 'S');
}

OptimizationParamHandle EE_OptimizationParamCreate(void)
{
    Anotar("EE_OptimizationParamCreate");
    return M().Crear('P');
}

void EE_OptimizationParamFree(OptimizationParamHandle hParam)
{
    Anotar("EE_OptimizationParamFree", hParam);
    M().Liberar("EE_OptimizationParamFree", hParam, 'P');
}

int EE_EngineConnect(void)
{
    Anotar("EE_EngineConnect");
    return M().Codigo("EE_EngineConnect");
}

int EE_EngineDisconnect(void)
{
    Anotar("EE_EngineDisconnect");
    return M().Codigo("EE_EngineDisconnect");
}

int EE_EngineRemoteConnect(const char* address, unsigned short port)
{
    Anotar("EE_EngineRemoteConnect", address, port);
    return M().Codigo("EE_EngineRemoteConnect");
}

int EE_EngineGetNextEvent(EmoEngineEventHandle hEvent)
{
    Anotar("EE_EngineGetNextEvent", hEvent);
    int codigo = M().Codigo("EE_EngineGetNextEvent");
    TMotorPrueba::TManejador* datos = M().Buscar("EE_EngineGetNextEvent", hEvent, 'E');
    if (codigo != EDK_SIN_ERRORES)
        return codigo;
    if (!datos)
        return EDK_PARAMETRO_NO_VALIDO;
    TEventoPrueba evento;
    if (!M().SiguienteEvento(evento))
        return EDK_SIN_EVENTOS;
    datos->Evento = evento;
    datos->ConEvento = true;
    return EDK_SIN_ERRORES;
}

int EE_EmoEngineEventGetType(EmoEngineEventHandle hEvent)
{
    Anotar("EE_EmoEngineEventGetType", hEvent);
    TMotorPrueba::TManejador* datos = M().Buscar("EE_EmoEngineEventGetType", hEvent, 'E');
    return datos && datos->ConEvento ? datos->Evento.Tipo : EE_UnknownEvent;
}

int EE_EmoEngineEventGetUserId(EmoEngineEventHandle hEvent, unsigned int* userId)
{
    Anotar("EE_EmoEngineEventGetUserId", hEvent);
    int codigo = M().Codigo("EE_EmoEngineEventGetUserId");
    TMotorPrueba::TManejador* datos = M().Buscar("EE_EmoEngineEventGetUserId", hEvent, 'E');
    if (codigo != EDK_SIN_ERRORES)
        return codigo;
    if (!datos || !datos->ConEvento || !userId)
        return EDK_PARAMETRO_NO_VALIDO;
    if (datos->Evento.ResultadoUsuario != EDK_SIN_ERRORES)
        return datos->Evento.ResultadoUsuario;
    *userId = datos->Evento.Usuario;
    return EDK_SIN_ERRORES;
}

int EE_EmoEngineEventGetEmoState(EmoEngineEventHandle hEvent, EmoStateHandle hState)
{
    Anotar("EE_EmoEngineEventGetEmoState", hEvent, hState);
    int codigo = M().Codigo("EE_EmoEngineEventGetEmoState");
    TMotorPrueba::TManejador* evento = M().Buscar("EE_EmoEngineEventGetEmoState", hEvent, 'E');
    TMotorPrueba::TManejador* estado = M().Buscar("EE_EmoEngineEventGetEmoState", hState, 'S');
    if (codigo != EDK_SIN_ERRORES)
        return codigo;
    if (!evento || !estado || !evento->ConEvento)
        return EDK_PARAMETRO_NO_VALIDO;
    estado->Estado = evento->Evento.Estado;
    return EDK_SIN_ERRORES;
}

unsigned int ES_CognitivGetCurrentAction(EmoStateHandle hState)
{
    Anotar("ES_CognitivGetCurrentAction", hState);
    const TEstadoPrueba* e = EstadoDe("ES_CognitivGetCurrentAction", hState);
    return e ? e->AccionCognitiva : unsigned(ACC_COG_NEUTRAL);
}

float ES_CognitivGetCurrentActionPower(EmoStateHandle hState)
{
    Anotar("ES_CognitivGetCurrentActionPower", hState);
    const TEstadoPrueba* e = EstadoDe("ES_CognitivGetCurrentActionPower", hState);
    return e ? e->PotenciaCognitiva : 0.0f;
}

unsigned int ES_ExpressivGetLowerFaceAction(EmoStateHandle hState)
{
    Anotar("ES_ExpressivGetLowerFaceAction", hState);
    const TEstadoPrueba* e = EstadoDe("ES_ExpressivGetLowerFaceAction", hState);
    return e ? e->AccionExpresiva : unsigned(ACC_EXP_NEUTRAL);
}

float ES_ExpressivGetLowerFaceActionPower(EmoStateHandle hState)
{
    Anotar("ES_ExpressivGetLowerFaceActionPower", hState);
    const TEstadoPrueba* e = EstadoDe("ES_ExpressivGetLowerFaceActionPower", hState);
    return e ? e->PotenciaExpresiva : 0.0f;
}

float ES_GetTimeFromStart(EmoStateHandle hState)
{
    Anotar("ES_GetTimeFromStart", hState);
    const TEstadoPrueba* e = EstadoDe("ES_GetTimeFromStart", hState);
    return e ? e->Tiempo : 0.0f;
}

int ES_GetWirelessSignalStatus(EmoStateHandle hState)
{
    Anotar("ES_GetWirelessSignalStatus", hState);
    const TEstadoPrueba* e = EstadoDe("ES_GetWirelessSignalStatus", hState);
    return e ? e->Senal : 0;
}

void ES_GetBatteryChargeLevel(EmoStateHandle hState, int* level, int* maxLevel)
{
    Anotar("ES_GetBatteryChargeLevel", hState);
    const TEstadoPrueba* e = EstadoDe("ES_GetBatteryChargeLevel", hState);
    if (!e)
        return;
    if (level)
        *level = e->Bateria;
    if (maxLevel)
        *maxLevel = e->BateriaMax;
}

int ES_GetContactQualityFromAllChannels(EmoStateHandle hState, int* values, size_t count)
{
    Anotar("ES_GetContactQualityFromAllChannels", hState, count);
    const TEstadoPrueba* e = EstadoDe("ES_GetContactQualityFromAllChannels", hState);
    if (!e || !values)
        return EDK_PARAMETRO_NO_VALIDO;
    std::size_t n = std::min<std::size_t>(count, e->Contactos.size());
    std::copy_n(e->Contactos.begin(), n, values);
    return EDK_SIN_ERRORES;
}

int EE_OptimizationSetVitalAlgorithm(OptimizationParamHandle hParam, int suite, unsigned int actions)
{
    Anotar("EE_OptimizationSetVitalAlgorithm", hParam, suite, actions);
    int codigo = M().Codigo("EE_OptimizationSetVitalAlgorithm");
    bool valido = M().Buscar("EE_OptimizationSetVitalAlgorithm", hParam, 'P') != nullptr;
    if (codigo != EDK_SIN_ERRORES)
        return codigo;
    if (!valido)
        return EDK_PARAMETRO_NO_VALIDO;
    M().Vitales[suite] = actions;
    return EDK_SIN_ERRORES;
}

int EE_OptimizationGetVitalAlgorithm(OptimizationParamHandle hParam, int suite, unsigned int* actions)
{
    Anotar("EE_OptimizationGetVitalAlgorithm", hParam, suite);
    int codigo = M().Codigo("EE_OptimizationGetVitalAlgorithm");
    bool valido = M().Buscar("EE_OptimizationGetVitalAlgorithm", hParam, 'P') != nullptr;
    if (codigo != EDK_SIN_ERRORES)
        return codigo;
    if (!valido || !actions)
        return EDK_PARAMETRO_NO_VALIDO;
    *actions = M().Vitales[suite];
    return EDK_SIN_ERRORES;
}

int EE_OptimizationEnable(OptimizationParamHandle hParam)
{
    Anotar("EE_OptimizationEnable", hParam);
    int codigo = M().Codigo("EE_OptimizationEnable");
    bool valido = M().Buscar("EE_OptimizationEnable", hParam, 'P') != nullptr;
    if (codigo != EDK_SIN_ERRORES)
        return codigo;
    return valido ? EDK_SIN_ERRORES : EDK_PARAMETRO_NO_VALIDO;
}

void EE_OptimizationDisable(void)
{
    Anotar("EE_OptimizationDisable");
}

int EE_LoadUserProfile(unsigned int userId, const char* fileName)
{
    Anotar("EE_LoadUserProfile", userId, fileName);
    return M().Codigo("EE_LoadUserProfile");
}

int EE_ExpressivSetThreshold(unsigned int userId, unsigned int action, int kind, int value)
{
    Anotar("EE_ExpressivSetThreshold", userId, action, kind, value);
    int codigo = M().Codigo("EE_ExpressivSetThreshold");
    if (codigo == EDK_SIN_ERRORES)
        M().Umbral = value;
    return codigo;
}

int EE_ExpressivGetThreshold(unsigned int userId, unsigned int action, int kind, int* value)
{
    Anotar("EE_ExpressivGetThreshold", userId, action, kind);
    int codigo = M().Codigo("EE_ExpressivGetThreshold");
    if (codigo == EDK_SIN_ERRORES && value)
        *value = M().Umbral;
    return codigo;
}

int EE_CognitivGetActionSensitivity(unsigned int userId, int* s1, int* s2, int* s3, int* s4)
{
    Anotar("EE_CognitivGetActionSensitivity", userId);
    int codigo = M().Codigo("EE_CognitivGetActionSensitivity");
    if (codigo != EDK_SIN_ERRORES)
        return codigo;
    int* salidas[] = {s1, s2, s3, s4};
    for (std::size_t i = 0; i < 4; ++i)
        if (salidas[i])
            *salidas[i] = M().Sensibilidades[i];
    return EDK_SIN_ERRORES;
}

int EE_CognitivSetActionSensitivity(unsigned int userId, int s1, int s2, int s3, int s4)
{
    Anotar("EE_CognitivSetActionSensitivity", userId, s1, s2, s3, s4);
    int codigo = M().Codigo("EE_CognitivSetActionSensitivity");
    if (codigo == EDK_SIN_ERRORES)
        M().Sensibilidades = {s1, s2, s3, s4};
    return codigo;
}

namespace {

    int Palabra(const char* funcion, unsigned valor, unsigned* salida)
    {
        int codigo = M().Codigo(funcion);
        if (codigo == EDK_SIN_ERRORES && salida)
            *salida = valor;
        return codigo;
    }

} // namespace

int EE_CognitivGetTrainedSignatureActions(unsigned int userId, unsigned int* actions)
{
    Anotar("EE_CognitivGetTrainedSignatureActions", userId);
    return Palabra("EE_CognitivGetTrainedSignatureActions", M().CognitivasEntrenadas, actions);
}

int EE_CognitivGetActiveActions(unsigned int userId, unsigned int* actions)
{
    Anotar("EE_CognitivGetActiveActions", userId);
    return Palabra("EE_CognitivGetActiveActions", M().CognitivasActivas, actions);
}

int EE_ExpressivGetTrainedSignatureActions(unsigned int userId, unsigned int* actions)
{
    Anotar("EE_ExpressivGetTrainedSignatureActions", userId);
    return Palabra("EE_ExpressivGetTrainedSignatureActions", M().ExpresivasEntrenadas, actions);
}

int EE_CognitivGetOverallSkillRating(unsigned int userId, float* rating)
{
    Anotar("EE_CognitivGetOverallSkillRating", userId);
    int codigo = M().Codigo("EE_CognitivGetOverallSkillRating");
    if (codigo == EDK_SIN_ERRORES && rating)
        *rating = M().NivelEntrenamiento;
    return codigo;
}

int EE_HeadsetGetGyroDelta(unsigned int userId, int* dx, int* dy)
{
    Anotar("EE_HeadsetGetGyroDelta", userId);
    int codigo = M().Codigo("EE_HeadsetGetGyroDelta");
    int x = 0;
    int y = 0;
    M().SiguienteGiro(x, y);
    if (codigo != EDK_SIN_ERRORES)
        return codigo;
    if (dx)
        *dx = x;
    if (dy)
        *dy = y;
    return EDK_SIN_ERRORES;
}

int EE_HeadsetGyroRezero(unsigned int userId)
{
    Anotar("EE_HeadsetGyroRezero", userId);
    return M().Codigo("EE_HeadsetGyroRezero");
}

} // extern "C"
