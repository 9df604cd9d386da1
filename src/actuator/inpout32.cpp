// Our port-output library: Out32 writes a value to the parallel port's data
// register at PuertoDatos (other addresses are ignored), IsInpOutDriverOpen
// tells whether that port can be reached at all and CausaPuertoCerrado why
// not (a TCausaPuerto), so the operator can be told what to fix.
#include "PuertoDatos.h"
#include "PuertoParalelo.h"

#define INPOUT_API extern "C" __attribute__((visibility("default")))

namespace {

TPuertoParalelo& Puerto()
{
    static TPuertoParalelo puerto(PuertoDatos);
    return puerto;
}

} // namespace

INPOUT_API void Out32(short puerto, short dato)
{
    if (static_cast<unsigned short>(puerto) != PuertoDatos)
        return;
    Puerto().Escribir(static_cast<std::uint8_t>(dato & 0xFF));
}

INPOUT_API int IsInpOutDriverOpen(void)
{
    return Puerto().Abrir() ? 1 : 0;
}

INPOUT_API int CausaPuertoCerrado(void)
{
    Puerto().Abrir();
    return Puerto().Causa();
}
