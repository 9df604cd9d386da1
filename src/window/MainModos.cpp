// Operating modes and window state. (placeholder bodies until this unit lands)
#include "Main.h"

void TFMain::ActualizarVentana() {}
void TFMain::HabilitarServidor(bool) {}
void TFMain::HabilitarTiempo(bool) {}
void TFMain::HabilitarPerfil(bool) {}
void TFMain::ActionManualExecute() {}
void TFMain::ActionCascoExecute() {}
void TFMain::ActionDesconectarExecute() {}
void TFMain::ActionCentrarCascoExecute() {}
void TFMain::RadioGroupMotorClick() {}
void TFMain::ActionActuadorExecute() {}
