#include "ConexionEmulador.h"
