#include "Proceso.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::vector<std::string> Entorno(const std::vector<std::string>& extra)
{
    std::vector<std::string> entorno;
    for (char** v = environ; *v; ++v) {
        const std::string variable = *v;
        const std::string nombre = variable.substr(0, variable.find('='));
        bool sustituida = false;
        for (const std::string& e : extra)
            sustituida = sustituida || e.substr(0, e.find('=')) == nombre;
        if (!sustituida)
            entorno.push_back(variable);
    }
    entorno.insert(entorno.end(), extra.begin(), extra.end());
    return entorno;
}

} // namespace

std::vector<char*> Punteros(std::vector<std::string>& textos)
{
    std::vector<char*> punteros;
    punteros.reserve(textos.size() + 1);
    for (std::string& t : textos)
        punteros.push_back(t.data());
    punteros.push_back(nullptr);
    return punteros;
}

bool TProceso::Ejecutar(const std::vector<std::string>& argumentos, const std::vector<std::string>& entorno)
{
    FFiguras.clear();
    int tubo[2];
    if (pipe(tubo) != 0)
        return false;
    posix_spawn_file_actions_t acciones;
    posix_spawn_file_actions_init(&acciones);
    posix_spawn_file_actions_adddup2(&acciones, tubo[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&acciones, tubo[0]);
    posix_spawn_file_actions_addclose(&acciones, tubo[1]);

    std::vector<std::string> args = argumentos;
    std::vector<std::string> env = Entorno(entorno);
    std::vector<char*> argv = Punteros(args);
    std::vector<char*> envp = Punteros(env);

    pid_t hijo = 0;
    FLanzamiento
        = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
              .count();
    const int error = posix_spawn(&hijo, argv[0], &acciones, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&acciones);
    close(tubo[1]);
    if (error != 0) {
        close(tubo[0]);
        std::fprintf(stderr, "banco: cannot start %s: %s\n", argv[0], std::strerror(error));
        return false;
    }

    std::string salida;
    char bloque[4096];
    for (ssize_t n; (n = read(tubo[0], bloque, sizeof bloque)) != 0;) {
        if (n > 0)
            salida.append(bloque, std::size_t(n));
        else if (errno != EINTR)
            break;
    }
    close(tubo[0]);
    int estado = 0;
    while (waitpid(hijo, &estado, 0) < 0 && errno == EINTR) { }

    std::istringstream lineas(salida);
    std::string linea;
    while (std::getline(lineas, linea)) {
        if (linea.rfind("RESULTADO", 0) != 0)
            continue;
        std::istringstream campos(linea.substr(9));
        std::string campo;
        while (campos >> campo) {
            const auto igual = campo.find('=');
            if (igual != std::string::npos)
                FFiguras[campo.substr(0, igual)] = std::strtod(campo.c_str() + igual + 1, nullptr);
        }
    }
    const bool bien = WIFEXITED(estado) && WEXITSTATUS(estado) == 0 && !FFiguras.empty();
    if (!bien)
        std::fprintf(stderr, "banco: child %s %s failed\n", argv[0],
                     argumentos.size() > 2 ? argumentos[2].c_str() : "");
    return bien;
}

double TProceso::Figura(const std::string& clave) const
{
    const auto it = FFiguras.find(clave);
    return it == FFiguras.end() ? NAN : it->second;
}
