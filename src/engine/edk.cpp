// Placeholder engine: every call answers "engine not initialised" until
// the engine core is in place.
#include "edk.h"

extern "C" {

EmoEngineEventHandle EE_EmoEngineEventCreate(void) { return nullptr; }
void EE_EmoEngineEventFree(EmoEngineEventHandle /*hEvent*/) {  }
EmoStateHandle EE_EmoStateCreate(void) { return nullptr; }
void EE_EmoStateFree(EmoStateHandle /*hState*/) {  }
OptimizationParamHandle EE_OptimizationParamCreate(void) { return nullptr; }
void EE_OptimizationParamFree(OptimizationParamHandle /*hParam*/) {  }
int EE_EngineConnect(void) { return EDK_MOTOR_NO_INICIALIZADO; }
int EE_EngineDisconnect(void) { return EDK_MOTOR_NO_INICIALIZADO; }
int EE_EngineRemoteConnect(const char* /*address*/, unsigned short /*port*/) { return EDK_MOTOR_NO_INICIALIZADO; }
int EE_EngineGetNextEvent(EmoEngineEventHandle /*hEvent*/) { return EDK_MOTOR_NO_INICIALIZADO; }
int EE_EmoEngineEventGetType(EmoEngineEventHandle /*hEvent*/) { return EDK_MOTOR_NO_INICIALIZADO; }
int EE_EmoEngineEventGetUserId(EmoEngineEventHandle /*hEvent*/, unsigned int* /*userId*/) { return EDK_MOTOR_NO_INICIALIZADO; }
int EE_EmoEngineEventGetEmoState(EmoEngineEventHandle /*hEvent*/, EmoStateHandle /*hState*/) { return EDK_MOTOR_NO_INICIALIZADO; }
unsigned int ES_CognitivGetCurrentAction(EmoStateHandle /*hState*/) { return 0; }
float ES_CognitivGetCurrentActionPower(EmoStateHandle /*hState*/) { return 0; }
unsigned int ES_ExpressivGetLowerFaceAction(EmoStateHandle /*hState*/) { return 0; }
float ES_ExpressivGetLowerFaceActionPower(EmoStateHandle /*hState*/) { return 0; }
float ES_GetTimeFromStart(EmoStateHandle /*hState*/) { return 0; }
int ES_GetWirelessSignalStatus(EmoStateHandle /*hState*/) { return EDK_MOTOR_NO_INICIALIZADO; }
void ES_GetBatteryChargeLevel(EmoStateHandle /*hState*/, int* /*level*/, int* /*maxLevel*/) {  }
int ES_GetContactQualityFromAllChannels(EmoStateHandle /*hState*/, int* /*values*/, size_t /*count*/) { return EDK_MOTOR_NO_INICIALIZADO; }
int EE_OptimizationSetVitalAlgorithm(OptimizationParamHandle /*hParam*/, int /*suite*/, unsigned int /*actions*/) { return EDK_MOTOR_NO_INICIALIZADO; }
int EE_OptimizationGetVitalAlgorithm(OptimizationParamHandle /*hParam*/, int /*suite*/, unsigned int* /*actions*/) { return EDK_MOTOR_NO_INICIALIZADO; }
int EE_OptimizationEnable(OptimizationParamHandle /*hParam*/) { return EDK_MOTOR_NO_INICIALIZADO; }
void EE_OptimizationDisable(void) {  }
int EE_LoadUserProfile(unsigned int /*userId*/, const char* /*fileName*/) { return EDK_MOTOR_NO_INICIALIZADO; }
int EE_ExpressivSetThreshold(unsigned int /*userId*/, unsigned int /*action*/, int /*kind*/, int /*value*/) { return EDK_MOTOR_NO_INICIALIZADO; }
int EE_ExpressivGetThreshold(unsigned int /*userId*/, unsigned int /*action*/, int /*kind*/, int* /*value*/) { return EDK_MOTOR_NO_INICIALIZADO; }
int EE_CognitivGetActionSensitivity(unsigned int /*userId*/, int* /*s1*/, int* /*s2*/, int* /*s3*/, int* /*s4*/) { return EDK_MOTOR_NO_INICIALIZADO; }
int EE_CognitivSetActionSensitivity(unsigned int /*userId*/, int /*s1*/, int /*s2*/, int /*s3*/, int /*s4*/) { return EDK_MOTOR_NO_INICIALIZADO; }
int EE_CognitivGetTrainedSignatureActions(unsigned int /*userId*/, unsigned int* /*actions*/) { return EDK_MOTOR_NO_INICIALIZADO; }
int EE_CognitivGetActiveActions(unsigned int /*userId*/, unsigned int* /*actions*/) { return EDK_MOTOR_NO_INICIALIZADO; }
int EE_ExpressivGetTrainedSignatureActions(unsigned int /*userId*/, unsigned int* /*actions*/) { return EDK_MOTOR_NO_INICIALIZADO; }
int EE_CognitivGetOverallSkillRating(unsigned int /*userId*/, float* /*rating*/) { return EDK_MOTOR_NO_INICIALIZADO; }
int EE_HeadsetGetGyroDelta(unsigned int /*userId*/, int* /*dx*/, int* /*dy*/) { return EDK_MOTOR_NO_INICIALIZADO; }
int EE_HeadsetGyroRezero(unsigned int /*userId*/) { return EDK_MOTOR_NO_INICIALIZADO; }

}
