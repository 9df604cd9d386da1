// Manual driving and the arrow images. (placeholder bodies until this unit lands)
#include "Main.h"

void TFMain::MostrarFlechas(TDireccion, TGiro, bool, bool) {}
void TFMain::EnviarOrden(TDireccion, TGiro) {}
void TFMain::ImageFlechasArribaAbajoMouseDown(int, int) {}
void TFMain::ImageFlechasArribaAbajoMouseUp(int, int) {}
void TFMain::ImageFlechasIzquierdaDerechaMouseDown(int, int) {}
