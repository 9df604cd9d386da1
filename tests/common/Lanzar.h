// Starts a helper program of the build for a test, with the file actions the
// caller set up (its pipes), in the test's own environment.
#pragma once

#include <spawn.h>
#include <string>
#include <unistd.h>
#include <vector>

// The child's process id, or -1 when it could not be started.
inline pid_t Lanzar(const std::string& ruta, std::vector<std::string> argumentos,
                    const posix_spawn_file_actions_t& acciones)
{
    argumentos.insert(argumentos.begin(), ruta);
    std::vector<char*> argv;
    argv.reserve(argumentos.size() + 1);
    for (std::string& a : argumentos)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, ruta.c_str(), &acciones, nullptr, argv.data(), environ) != 0)
        return -1;
    return pid;
}
