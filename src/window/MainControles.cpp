// Tuning and connection controls. (placeholder bodies until this unit lands)
#include "Main.h"

void TFMain::TrackBarUmbralAvRetChange() {}
void TFMain::TrackBarUmbralGiroChange() {}
void TFMain::TrackBarAvanceChange() {}
void TFMain::TrackBarRetrocesoChange() {}
void TFMain::EditIp1Exit(QLineEdit*) {}
void TFMain::EditPuertoExit() {}
void TFMain::ActionCargaPerfilExecute() {}
