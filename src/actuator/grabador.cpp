// The recording port library, for tests and for watching the bytes without a
// port. Out32 appends one line "port value" (both as unsigned 16-bit
// decimals) per call to the file named by GEDANKO_GRABADOR; with the variable
// unset it records nothing. The tests build variants: with GRABADOR_DRIVER it
// also exports IsInpOutDriverOpen, answering that value, and with
// GRABADOR_CAUSA CausaPuertoCerrado, answering that one.
#include <cstdio>
#include <cstdlib>

#define GRABADOR_API extern "C" __attribute__((visibility("default")))

GRABADOR_API void Out32(short puerto, short dato)
{
    const char* fichero = std::getenv("GEDANKO_GRABADOR");
    if (!fichero || !*fichero)
        return;
    if (std::FILE* salida = std::fopen(fichero, "a")) {
        std::fprintf(salida, "%u %u\n", static_cast<unsigned short>(puerto), static_cast<unsigned short>(dato));
        std::fclose(salida);
    }
}

#ifdef GRABADOR_DRIVER
GRABADOR_API int IsInpOutDriverOpen(void)
{
    return GRABADOR_DRIVER;
}
#endif

#ifdef GRABADOR_CAUSA
GRABADOR_API int CausaPuertoCerrado(void)
{
    return GRABADOR_CAUSA;
}
#endif
