// Start-up, close request and shutdown. (placeholder bodies until this unit lands)
#include "Main.h"

bool TFMain::FormCloseQuery() { return true; }
void TFMain::FormDestroy() {}
