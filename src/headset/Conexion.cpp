#include "Conexion.h"
