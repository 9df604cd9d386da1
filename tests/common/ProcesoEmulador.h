// The real gedanko-emulador process, started from the test program's own
// folder with the arguments given. Its console is a pipe the test writes to;
// its error output, where it announces its port, is read back. Every wait is
// bounded, and a process still running is killed when the object goes.
#pragma once

#include "Lanzar.h"

#include <chrono>
#include <climits>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

class TProcesoEmulador {
public:
    explicit TProcesoEmulador(std::vector<std::string> argumentos)
    {
        int entrada[2];
        int errores[2];
        if (::pipe2(entrada, O_CLOEXEC) != 0)
            return;
        if (::pipe2(errores, O_CLOEXEC) != 0) {
            ::close(entrada[0]);
            ::close(entrada[1]);
            return;
        }
        posix_spawn_file_actions_t acciones;
        posix_spawn_file_actions_init(&acciones);
        posix_spawn_file_actions_adddup2(&acciones, entrada[0], STDIN_FILENO);
        posix_spawn_file_actions_addopen(&acciones, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&acciones, errores[1], STDERR_FILENO);
        const std::string ruta = Ruta();
        FPid = Lanzar(ruta, std::move(argumentos), acciones);
        posix_spawn_file_actions_destroy(&acciones);
        ::close(entrada[0]);
        ::close(errores[1]);
        FEntrada = entrada[1];
        FErrores = errores[0];
    }

    ~TProcesoEmulador()
    {
        Matar();
        if (FEntrada >= 0)
            ::close(FEntrada);
        if (FErrores >= 0)
            ::close(FErrores);
    }
    TProcesoEmulador(const TProcesoEmulador&) = delete;
    TProcesoEmulador& operator=(const TProcesoEmulador&) = delete;

    // gedanko-emulador beside the running test program.
    static std::string Ruta()
    {
        char ruta[PATH_MAX] = {};
        const ssize_t n = ::readlink("/proc/self/exe", ruta, sizeof ruta - 1);
        const std::string propio(ruta, n > 0 ? static_cast<std::size_t>(n) : 0);
        return propio.substr(0, propio.rfind('/') + 1) + "gedanko-emulador";
    }

    bool Vivo() const { return FPid > 0; }

    // Reads the error output until `texto` shows up; false when the time is
    // over or the output ends first.
    bool EsperarTexto(const std::string& texto, int esperaMs = 10000)
    {
        const auto limite = Reloj::now() + std::chrono::milliseconds(esperaMs);
        while (FTexto.find(texto) == std::string::npos) {
            const auto resto = std::chrono::duration_cast<std::chrono::milliseconds>(limite - Reloj::now()).count();
            pollfd p {FErrores, POLLIN, 0};
            if (FErrores < 0 || resto <= 0 || ::poll(&p, 1, static_cast<int>(resto)) != 1)
                return false;
            char buf[512];
            const ssize_t n = ::read(FErrores, buf, sizeof buf);
            if (n <= 0)
                return false;
            FTexto.append(buf, static_cast<std::size_t>(n));
        }
        return true;
    }

    // The port announced once listening on 127.0.0.1, 0 when none came in time.
    std::uint16_t Puerto(int esperaMs = 10000)
    {
        const std::string marca = "escuchando en 127.0.0.1:";
        if (!EsperarTexto(marca, esperaMs) || !EsperarTexto(" (", esperaMs))
            return 0;
        const std::size_t i = FTexto.find(marca) + marca.size();
        return static_cast<std::uint16_t>(std::stoi(FTexto.substr(i, 5)));
    }

    // Types on the emulator's console.
    bool Escribir(const std::string& texto)
    {
        return ::write(FEntrada, texto.data(), texto.size()) == static_cast<ssize_t>(texto.size());
    }

    void Senal(int senal)
    {
        if (FPid > 0)
            ::kill(FPid, senal);
    }

    // Exit status once the process has ended by itself (128 + signal when a
    // signal ended it), -1 when it did not in time.
    int EsperarSalida(int esperaMs = 5000)
    {
        const auto limite = Reloj::now() + std::chrono::milliseconds(esperaMs);
        while (FPid > 0 && Reloj::now() < limite) {
            int estado = 0;
            if (::waitpid(FPid, &estado, WNOHANG) == FPid) {
                FPid = -1;
                return WIFEXITED(estado) ? WEXITSTATUS(estado) : 128 + WTERMSIG(estado);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    // Ends the process at once, as a crash or a pulled cable would, and reaps it.
    void Matar()
    {
        if (FPid <= 0)
            return;
        ::kill(FPid, SIGKILL);
        ::waitpid(FPid, nullptr, 0);
        FPid = -1;
    }

    // Everything read from its error output so far.
    const std::string& Texto() const { return FTexto; }

private:
    using Reloj = std::chrono::steady_clock;

    pid_t FPid = -1;
    int FEntrada = -1;
    int FErrores = -1;
    std::string FTexto;
};
