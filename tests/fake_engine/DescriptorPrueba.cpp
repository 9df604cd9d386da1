// The engine's optional wake-up descriptor for the test engine; linked only
// into test programs that exercise an engine offering it.
#include "MotorPrueba.h"

extern "C" EDK_API int EDK_DescriptorEventos(void)
{
    return MotorPrueba().OfreceDescriptor ? TMotorPrueba::Despertador() : -1;
}
