// A port library for tests. Out32 appends one line "port value" (both as
// unsigned 16-bit decimals) per call to the file named by GEDANKO_GRABADOR;
// with the variable unset it records nothing. Built with GRABADOR_DRIVER it
// also exports IsInpOutDriverOpen, answering that value.
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
