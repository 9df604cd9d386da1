// The process's own processor time, user and system, in seconds.
#pragma once

#include <sys/resource.h>

inline double SegundosProcesador()
{
    rusage uso {};
    getrusage(RUSAGE_SELF, &uso);
    const auto segundos = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return segundos(uso.ru_utime) + segundos(uso.ru_stime);
}
