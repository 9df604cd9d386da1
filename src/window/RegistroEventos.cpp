#include "RegistroEventos.h"
