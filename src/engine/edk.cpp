// The engine's C API: each call forwards to the process's one engine core.
#include "edk.h"

#include "Motor.h"

#include <algorithm>
#include <cstdint>

namespace {

edk::TMotor& Motor()
{
    return edk::MotorGlobal();
}

} // namespace

extern "C" {

EmoEngineEventHandle EE_EmoEngineEventCreate(void)
{
    return Motor().CrearEvento();
}
void EE_EmoEngineEventFree(EmoEngineEventHandle hEvent)
{
    Motor().LiberarEvento(hEvent);
}
EmoStateHandle EE_EmoStateCreate(void)
{
    return Motor().CrearEstado();
}
void EE_EmoStateFree(EmoStateHandle hState)
{
    Motor().LiberarEstado(hState);
}
OptimizationParamHandle EE_OptimizationParamCreate(void)
{
    return Motor().CrearOptimizacion();
}
void EE_OptimizationParamFree(OptimizationParamHandle hParam)
{
    Motor().LiberarOptimizacion(hParam);
}

int EE_EngineConnect(void)
{
    return Motor().Conectar();
}
int EE_EngineDisconnect(void)
{
    return Motor().Desconectar();
}
int EE_EngineRemoteConnect(const char* address, unsigned short port)
{
    return Motor().ConectarRemoto(address, port);
}

int EE_EngineGetNextEvent(EmoEngineEventHandle hEvent)
{
    return Motor().SiguienteEvento(hEvent);
}
int EE_EmoEngineEventGetType(EmoEngineEventHandle hEvent)
{
    return Motor().TipoEvento(hEvent);
}
int EE_EmoEngineEventGetUserId(EmoEngineEventHandle hEvent, unsigned int* userId)
{
    return Motor().UsuarioEvento(hEvent, userId);
}
int EE_EmoEngineEventGetEmoState(EmoEngineEventHandle hEvent, EmoStateHandle hState)
{
    return Motor().EstadoEvento(hEvent, hState);
}

// ES_ reads answer neutral values for a handle that is not an EmoState.
unsigned int ES_CognitivGetCurrentAction(EmoStateHandle hState)
{
    const edk::TEstadoEmo* e = Motor().Estado(hState);
    return e ? e->AccionCognitiva : static_cast<unsigned int>(ACC_COG_NEUTRAL);
}
float ES_CognitivGetCurrentActionPower(EmoStateHandle hState)
{
    const edk::TEstadoEmo* e = Motor().Estado(hState);
    return e ? e->PotenciaCognitiva : 0.0f;
}
unsigned int ES_ExpressivGetLowerFaceAction(EmoStateHandle hState)
{
    const edk::TEstadoEmo* e = Motor().Estado(hState);
    return e ? e->AccionExpresiva : static_cast<unsigned int>(ACC_EXP_NEUTRAL);
}
float ES_ExpressivGetLowerFaceActionPower(EmoStateHandle hState)
{
    const edk::TEstadoEmo* e = Motor().Estado(hState);
    return e ? e->PotenciaExpresiva : 0.0f;
}
float ES_GetTimeFromStart(EmoStateHandle hState)
{
    const edk::TEstadoEmo* e = Motor().Estado(hState);
    return e ? e->Tiempo : 0.0f;
}
int ES_GetWirelessSignalStatus(EmoStateHandle hState)
{
    const edk::TEstadoEmo* e = Motor().Estado(hState);
    return e ? e->Senal : 0;
}
void ES_GetBatteryChargeLevel(EmoStateHandle hState, int* level, int* maxLevel)
{
    const edk::TEstadoEmo* e = Motor().Estado(hState);
    if (level)
        *level = e ? e->Bateria : 0;
    if (maxLevel)
        *maxLevel = e ? e->BateriaMax : 0;
}
int ES_GetContactQualityFromAllChannels(EmoStateHandle hState, int* values, size_t count)
{
    const edk::TEstadoEmo* e = Motor().Estado(hState);
    if (!e || (!values && count > 0))
        return EDK_PARAMETRO_NO_VALIDO;
    std::copy_n(e->Contactos.begin(), std::min(count, e->Contactos.size()), values);
    return EDK_SIN_ERRORES;
}

int EE_OptimizationSetVitalAlgorithm(OptimizationParamHandle hParam, int suite, unsigned int actions)
{
    return Motor().FijarVital(hParam, suite, actions);
}
int EE_OptimizationGetVitalAlgorithm(OptimizationParamHandle hParam, int suite, unsigned int* actions)
{
    return Motor().LeerVital(hParam, suite, actions);
}
int EE_OptimizationEnable(OptimizationParamHandle hParam)
{
    return Motor().ActivarOptimizacion(hParam);
}
void EE_OptimizationDisable(void)
{
    Motor().DesactivarOptimizacion();
}

int EE_LoadUserProfile(unsigned int userId, const char* fileName)
{
    return Motor().CargarPerfil(userId, fileName);
}
int EE_ExpressivSetThreshold(unsigned int userId, unsigned int action, int kind, int value)
{
    return Motor().FijarUmbral(userId, action, kind, value);
}
int EE_ExpressivGetThreshold(unsigned int userId, unsigned int action, int kind, int* value)
{
    return Motor().LeerUmbral(userId, action, kind, value);
}
int EE_CognitivGetActionSensitivity(unsigned int userId, int* s1, int* s2, int* s3, int* s4)
{
    return Motor().LeerSensibilidades(userId, s1, s2, s3, s4);
}
int EE_CognitivSetActionSensitivity(unsigned int userId, int s1, int s2, int s3, int s4)
{
    return Motor().FijarSensibilidades(userId, s1, s2, s3, s4);
}
int EE_CognitivGetTrainedSignatureActions(unsigned int userId, unsigned int* actions)
{
    return Motor().CognitivasEntrenadas(userId, actions);
}
int EE_CognitivGetActiveActions(unsigned int userId, unsigned int* actions)
{
    return Motor().CognitivasActivas(userId, actions);
}
int EE_ExpressivGetTrainedSignatureActions(unsigned int userId, unsigned int* actions)
{
    return Motor().ExpresivasEntrenadas(userId, actions);
}
int EE_CognitivGetOverallSkillRating(unsigned int userId, float* rating)
{
    return Motor().NivelEntrenamiento(userId, rating);
}
int EE_HeadsetGetGyroDelta(unsigned int userId, int* dx, int* dy)
{
    return Motor().LeerGiro(userId, dx, dy);
}
int EE_HeadsetGyroRezero(unsigned int userId)
{
    return Motor().CentrarGiro(userId);
}

int EDK_DescriptorEventos(void)
{
    return Motor().Despertador();
}
}
