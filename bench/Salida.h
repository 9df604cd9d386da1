// How a measuring child hands its figures to the bench: one line
// "RESULTADO clave=valor ..." on standard output.
#pragma once

#include "Emparejamiento.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

using TFiguras = std::vector<std::pair<std::string, double>>;

inline void ImprimirFiguras(const TFiguras& figuras)
{
    std::string linea = "RESULTADO";
    for (const auto& [clave, valor] : figuras)
        linea += " " + clave + "=" + std::to_string(valor);
    std::printf("%s\n", linea.c_str());
    std::fflush(stdout);
}

inline TFiguras FigurasDeRun(TResultadoRun& run)
{
    return {
        {"estados", double(run.Estados)},        {"emparejados", double(run.Emparejados)},
        {"erroneos", double(run.Erroneos)},      {"tasa", run.Tasa()},
        {"p50_us", run.Latencias.Percentil(50)}, {"p99_us", run.Latencias.Percentil(99)},
        {"max_us", run.Latencias.Maximo()},
    };
}
