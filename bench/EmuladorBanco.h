// A gedanko-emulador process for the bench: started from the build's bin
// folder with the arguments given, its error output read for the ports it
// announces, stopped with SIGTERM when the object goes.
#pragma once

#include "Proceso.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

class TEmuladorBanco {
public:
    TEmuladorBanco(const std::string& carpetaBin, std::vector<std::string> argumentos)
    {
        int errores[2];
        if (::pipe2(errores, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t acciones;
        posix_spawn_file_actions_init(&acciones);
        posix_spawn_file_actions_addopen(&acciones, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&acciones, errores[1], STDERR_FILENO);
        const std::string ruta = carpetaBin + "/gedanko-emulador";
        argumentos.insert(argumentos.begin(), ruta);
        std::vector<char*> argv = Punteros(argumentos);
        if (::posix_spawn(&FPid, ruta.c_str(), &acciones, nullptr, argv.data(), environ) != 0)
            FPid = -1;
        posix_spawn_file_actions_destroy(&acciones);
        ::close(errores[1]);
        FErrores = errores[0];
    }
    ~TEmuladorBanco()
    {
        if (FPid > 0) {
            ::kill(FPid, SIGTERM);
            ::waitpid(FPid, nullptr, 0);
        }
        if (FErrores >= 0)
            ::close(FErrores);
    }
    TEmuladorBanco(const TEmuladorBanco&) = delete;
    TEmuladorBanco& operator=(const TEmuladorBanco&) = delete;

    // The number after 'marca' in the error output, 0 when it does not come in time.
    int Numero(const std::string& marca)
    {
        const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        std::size_t i = 0;
        while ((i = FTexto.find(marca)) == std::string::npos
               || FTexto.find(' ', i + marca.size()) == std::string::npos) {
            pollfd p {FErrores, POLLIN, 0};
            char buf[512];
            ssize_t n = 0;
            if (std::chrono::steady_clock::now() > limite || ::poll(&p, 1, 100) < 0
                || ((p.revents & POLLIN) && (n = ::read(FErrores, buf, sizeof buf)) <= 0))
                return 0;
            FTexto.append(buf, static_cast<std::size_t>(n > 0 ? n : 0));
        }
        return std::stoi(FTexto.substr(i + marca.size()));
    }

private:
    pid_t FPid = -1;
    int FErrores = -1;
    std::string FTexto;
};
