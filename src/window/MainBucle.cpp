// The control loop: one whole connection. (placeholder bodies until this unit lands)
#include "Main.h"

void TFMain::ActionConectarExecute() {}
