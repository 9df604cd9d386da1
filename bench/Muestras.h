// A set of measured values and the figures the bench reports of them.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

class TMuestras {
public:
    void Reservar(std::size_t n) { FValores.reserve(n); }
    void Anadir(double valor)
    {
        FValores.push_back(valor);
        FOrdenado = false;
    }
    std::size_t Num() const { return FValores.size(); }
    bool Vacio() const { return FValores.empty(); }

    // Nearest rank: the smallest value with at least p % of the values at or below it.
    double Percentil(double p)
    {
        if (FValores.empty())
            return NAN;
        Ordenar();
        const double rango = std::ceil(p / 100.0 * double(FValores.size()));
        const std::size_t indice = rango < 1 ? 0 : std::size_t(rango) - 1;
        return FValores[std::min(indice, FValores.size() - 1)];
    }
    double Mediana()
    {
        if (FValores.empty())
            return NAN;
        Ordenar();
        const std::size_t n = FValores.size();
        return n % 2 ? FValores[n / 2] : (FValores[n / 2 - 1] + FValores[n / 2]) / 2;
    }
    double Minimo() { return Percentil(0); }
    double Maximo() { return Percentil(100); }

private:
    void Ordenar()
    {
        if (!FOrdenado)
            std::sort(FValores.begin(), FValores.end());
        FOrdenado = true;
    }

    std::vector<double> FValores;
    bool FOrdenado = true;
};
