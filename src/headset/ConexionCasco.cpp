#include "ConexionCasco.h"
