#include "Grafica.h"
