// A port library for tests that loads but has no Out32.
extern "C" __attribute__((visibility("default"))) void Out16(short puerto, short dato)
{
    (void)puerto;
    (void)dato;
}
