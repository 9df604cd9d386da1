#include "Formato.h"
