/* C interface of the headset engine (libedk.so).
 *
 * Every EE_ call returns a result code (EDK_SIN_ERRORES on success); ES_ calls read an
 * EmoState already fetched and cannot fail. Handles are opaque. Any library
 * exporting these symbols can stand in for our engine. */
#ifndef GEDANKO_EDK_H
#define GEDANKO_EDK_H

/* NOLINTBEGIN(modernize-deprecated-headers,modernize-use-using): a C header */
#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(EDK_BUILDING_LIBRARY)
#define EDK_API __attribute__((visibility("default")))
#else
#define EDK_API
#endif

typedef void* EmoEngineEventHandle;
typedef void* EmoStateHandle;
typedef void* OptimizationParamHandle;
/* NOLINTEND(modernize-deprecated-headers,modernize-use-using) */

/* Result codes. */
enum EdkResultado {
    EDK_SIN_ERRORES = 0x0000,
    EDK_ERROR_INTERNO = 0x0001,
    EDK_PERFIL_NO_VALIDO = 0x0101,
    EDK_PERFIL_SIN_USUARIO = 0x0102,
    EDK_SIN_DATOS_EEG = 0x0200,
    EDK_ALMACEN_INSUFICIENTE = 0x0300,
    EDK_FUERA_DE_RANGO = 0x0301,
    EDK_PARAMETRO_NO_VALIDO = 0x0302,
    EDK_PARAMETRO_BLOQUEADO = 0x0303,
    EDK_ACCION_ENTRENAR_NO_VALIDA = 0x0304,
    EDK_CONTROL_ENTRENAR_NO_VALIDO = 0x0305,
    EDK_CAMPO_VECTOR_NO_VALIDO = 0x0306,
    EDK_DEMASIADAS_ACCIONES = 0x0307,
    EDK_FIRMA_NO_DISPONIBLE = 0x0308,
    EDK_ERROR_FICHEROS = 0x0309,
    EDK_USUARIO_NO_VALIDO = 0x0400,
    EDK_MOTOR_NO_INICIALIZADO = 0x0500,
    EDK_CONEXION_REMOTA_PERDIDA = 0x0501,
    EDK_CONEXION_REMOTA_IMPOSIBLE = 0x0502,
    EDK_SIN_EVENTOS = 0x0600,
    EDK_GIROSCOPO_NO_CALIBRADO = 0x0700,
    EDK_FALLO_OPTIMIZACION = 0x0800,
    EDK_RESERVADO = 0x0900
};

/* Event types. */
enum EdkTipoEvento {
    EE_UnknownEvent = 0x0000,
    EE_EmulatorError = 0x0001,
    EE_ReservedEvent = 0x0002,
    EE_UserAdded = 0x0010,
    EE_UserRemoved = 0x0020,
    EE_EmoStateUpdated = 0x0040,
    EE_ProfileEvent = 0x0080,
    EE_CognitivEvent = 0x0100,
    EE_ExpressivEvent = 0x0200,
    EE_InternalStateChanged = 0x0400,
    EE_AllEvent = 0x07F0
};

/* Suites of the optimisation parameter. */
enum EdkSuite { EDK_SUITE_EXPRESIVA = 0, EDK_SUITE_COGNITIVA = 2 };

/* Cognitive action bits. */
enum EdkAccionCognitiva {
    ACC_COG_NEUTRAL = 0x0001,
    ACC_COG_EMPUJAR = 0x0002,
    ACC_COG_TIRAR = 0x0004,
    ACC_COG_ARRIBA = 0x0008,
    ACC_COG_ABAJO = 0x0010,
    ACC_COG_IZQUIERDA = 0x0020,
    ACC_COG_DERECHA = 0x0040,
    ACC_COG_ROT_IZQUIERDA = 0x0080,
    ACC_COG_ROT_DERECHA = 0x0100,
    ACC_COG_ROT_RELOJ = 0x0200,
    ACC_COG_ROT_CONTRARRELOJ = 0x0400,
    ACC_COG_ROT_DIRECTA = 0x0800,
    ACC_COG_ROT_INVERSA = 0x1000,
    ACC_COG_DESVANECER = 0x2000
};

/* Expressive (facial) action bits. */
enum EdkAccionExpresiva {
    ACC_EXP_NEUTRAL = 0x0001,
    ACC_EXP_PARPADEAR = 0x0002,
    ACC_EXP_GUINO_IZQ = 0x0004,
    ACC_EXP_GUINO_DER = 0x0008,
    ACC_EXP_MIRAR_IZQ_DER = 0x0010,
    ACC_EXP_SUBIR_ENTRECEJO = 0x0020,
    ACC_EXP_FRUNCIR_ENTRECEJO = 0x0040,
    ACC_EXP_SONREIR = 0x0080,
    ACC_EXP_APRETAR_DIENTES = 0x0100,
    ACC_EXP_REIR = 0x0200,
    ACC_EXP_MEJILLA_IZQ = 0x0400,
    ACC_EXP_MEJILLA_DER = 0x0800
};

/* Threshold kind of EE_ExpressivSetThreshold: the detection's sensitivity. */
enum { EDK_UMBRAL_SENSIBILIDAD = 0 };

/* Number of contact-quality channels of an EmoState. */
enum { EDK_NUM_CANALES = 18 };

/* Wireless signal status of an EmoState. */
enum EdkSenal { EDK_SIN_SENAL = 0, EDK_SENAL_MALA = 1, EDK_SENAL_BUENA = 2 };

EDK_API EmoEngineEventHandle EE_EmoEngineEventCreate(void);
EDK_API void EE_EmoEngineEventFree(EmoEngineEventHandle hEvent);
EDK_API EmoStateHandle EE_EmoStateCreate(void);
EDK_API void EE_EmoStateFree(EmoStateHandle hState);
EDK_API OptimizationParamHandle EE_OptimizationParamCreate(void);
EDK_API void EE_OptimizationParamFree(OptimizationParamHandle hParam);

EDK_API int EE_EngineConnect(void);
EDK_API int EE_EngineDisconnect(void);
EDK_API int EE_EngineRemoteConnect(const char* address, unsigned short port);

EDK_API int EE_EngineGetNextEvent(EmoEngineEventHandle hEvent);
EDK_API int EE_EmoEngineEventGetType(EmoEngineEventHandle hEvent);
EDK_API int EE_EmoEngineEventGetUserId(EmoEngineEventHandle hEvent, unsigned int* userId);
EDK_API int EE_EmoEngineEventGetEmoState(EmoEngineEventHandle hEvent, EmoStateHandle hState);

EDK_API unsigned int ES_CognitivGetCurrentAction(EmoStateHandle hState);
EDK_API float ES_CognitivGetCurrentActionPower(EmoStateHandle hState);
EDK_API unsigned int ES_ExpressivGetLowerFaceAction(EmoStateHandle hState);
EDK_API float ES_ExpressivGetLowerFaceActionPower(EmoStateHandle hState);
EDK_API float ES_GetTimeFromStart(EmoStateHandle hState);
EDK_API int ES_GetWirelessSignalStatus(EmoStateHandle hState);
EDK_API void ES_GetBatteryChargeLevel(EmoStateHandle hState, int* level, int* maxLevel);
EDK_API int ES_GetContactQualityFromAllChannels(EmoStateHandle hState, int* values, size_t count);

EDK_API int EE_OptimizationSetVitalAlgorithm(OptimizationParamHandle hParam, int suite, unsigned int actions);
EDK_API int EE_OptimizationGetVitalAlgorithm(OptimizationParamHandle hParam, int suite, unsigned int* actions);
EDK_API int EE_OptimizationEnable(OptimizationParamHandle hParam);
EDK_API void EE_OptimizationDisable(void);

EDK_API int EE_LoadUserProfile(unsigned int userId, const char* fileName);
EDK_API int EE_ExpressivSetThreshold(unsigned int userId, unsigned int action, int kind, int value);
EDK_API int EE_ExpressivGetThreshold(unsigned int userId, unsigned int action, int kind, int* value);
EDK_API int EE_CognitivGetActionSensitivity(unsigned int userId, int* s1, int* s2, int* s3, int* s4);
EDK_API int EE_CognitivSetActionSensitivity(unsigned int userId, int s1, int s2, int s3, int s4);
EDK_API int EE_CognitivGetTrainedSignatureActions(unsigned int userId, unsigned int* actions);
EDK_API int EE_CognitivGetActiveActions(unsigned int userId, unsigned int* actions);
EDK_API int EE_ExpressivGetTrainedSignatureActions(unsigned int userId, unsigned int* actions);
EDK_API int EE_CognitivGetOverallSkillRating(unsigned int userId, float* rating);
EDK_API int EE_HeadsetGetGyroDelta(unsigned int userId, int* dx, int* dy);
EDK_API int EE_HeadsetGyroRezero(unsigned int userId);

/* Our engine's one addition, outside the interface above: a descriptor that
 * turns readable once EE_EngineGetNextEvent, after answering EDK_SIN_EVENTOS,
 * may have something again (an event or a lost link); -1 when there is none.
 * It stays the same for the library's life and belongs to the engine (never
 * close it). Callers look it up at run time (dlsym), so that an engine
 * without it still serves: they then poll. */
EDK_API int EDK_DescriptorEventos(void);

#ifdef __cplusplus
}
#endif

#endif
