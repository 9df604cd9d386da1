// Processor time, user and system, in seconds: the whole process's, or the
// calling thread's alone with RUSAGE_THREAD.
#pragma once

#include <sys/resource.h>

inline double SegundosProcesador(int quien = RUSAGE_SELF)
{
    rusage uso {};
    getrusage(quien, &uso);
    const auto segundos = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return segundos(uso.ru_utime) + segundos(uso.ru_stime);
}
