// A helper program of the build run as a child of a test: its standard
// output and error are pipes read back line by line, every wait is bounded,
// and a child still running is killed when the object goes.
#pragma once

#include "Lanzar.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

class TProcesoHijo {
public:
    using TReloj = std::chrono::steady_clock;

    TProcesoHijo(const std::string& ruta, std::vector<std::string> argumentos)
    {
        int salida[2];
        int errores[2];
        if (::pipe2(salida, O_CLOEXEC) != 0)
            return;
        if (::pipe2(errores, O_CLOEXEC) != 0) {
            ::close(salida[0]);
            ::close(salida[1]);
            return;
        }
        posix_spawn_file_actions_t acciones;
        posix_spawn_file_actions_init(&acciones);
        posix_spawn_file_actions_addopen(&acciones, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&acciones, salida[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&acciones, errores[1], STDERR_FILENO);
        FPid = Lanzar(ruta, std::move(argumentos), acciones);
        posix_spawn_file_actions_destroy(&acciones);
        ::close(salida[1]);
        ::close(errores[1]);
        FSalida = salida[0];
        FErrores = errores[0];
    }
    ~TProcesoHijo()
    {
        Matar();
        if (FSalida >= 0)
            ::close(FSalida);
        if (FErrores >= 0)
            ::close(FErrores);
    }
    TProcesoHijo(const TProcesoHijo&) = delete;
    TProcesoHijo& operator=(const TProcesoHijo&) = delete;

    void Senal(int senal) const
    {
        if (FPid > 0)
            ::kill(FPid, senal);
    }

    void Matar()
    {
        if (FPid <= 0)
            return;
        ::kill(FPid, SIGKILL);
        ::waitpid(FPid, nullptr, 0);
        FPid = -1;
    }

    // The next whole line of standard output, or of the error output;
    // nothing when the time is over or the output ends.
    std::optional<std::string> Linea(TReloj::time_point limite, bool deErrores = false)
    {
        std::string& texto = deErrores ? FTextoErrores : FTextoSalida;
        for (;;) {
            const std::size_t fin = texto.find('\n');
            if (fin != std::string::npos) {
                std::string linea = texto.substr(0, fin);
                texto.erase(0, fin + 1);
                return linea;
            }
            const auto resto = std::chrono::duration_cast<std::chrono::milliseconds>(limite - TReloj::now()).count();
            pollfd p {deErrores ? FErrores : FSalida, POLLIN, 0};
            if (resto <= 0 || ::poll(&p, 1, static_cast<int>(resto)) != 1)
                return std::nullopt;
            char buf[512];
            const ssize_t n = ::read(p.fd, buf, sizeof buf);
            if (n <= 0)
                return std::nullopt;
            texto.append(buf, static_cast<std::size_t>(n));
        }
    }

private:
    pid_t FPid = -1;
    int FSalida = -1;
    int FErrores = -1;
    std::string FTextoSalida;
    std::string FTextoErrores;
};
