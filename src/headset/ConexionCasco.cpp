#include "ConexionCasco.h"

bool TConexionCasco::Conectar()
{
    FResultado = EE_EngineConnect();
    return FResultado == EDK_SIN_ERRORES;
}
