// A fuzz target's check: a broken promise stops the run like a crash, so
// libFuzzer keeps the input that broke it.
#pragma once

inline void Comprobar(bool condicion)
{
    if (!condicion)
        __builtin_trap();
}
