// Starts a measuring child process and collects its "RESULTADO" line.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// argv for exec: pointers into the texts, ending in a null pointer.
std::vector<char*> Punteros(std::vector<std::string>& textos);

class TProceso {
public:
    // Runs the program with the arguments and the extra environment
    // ("NAME=value", replacing any inherited value). True when the child
    // exited with status 0 and printed a result line.
    bool Ejecutar(const std::vector<std::string>& argumentos, const std::vector<std::string>& entorno);

    // steady_clock nanoseconds just before the child was spawned.
    std::int64_t Lanzamiento() const { return FLanzamiento; }
    const std::map<std::string, double>& Figuras() const { return FFiguras; }
    double Figura(const std::string& clave) const;

private:
    std::int64_t FLanzamiento = 0;
    std::map<std::string, double> FFiguras;
};
