#include "CodigoPagina.h"
