// About box and help. (placeholder bodies until this unit lands)
#include "Main.h"

void TFMain::ActionAcercaDeExecute() {}
void TFMain::ActionAyudaExecute() {}
