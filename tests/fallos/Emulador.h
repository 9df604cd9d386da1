// The real gedanko-emulador process, started from the test program's folder
// on a loopback port. Every wait is bounded; a process still running is
// killed when the object goes.
#pragma once

#include <QCoreApplication>
#include <QString>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

class TEmulador {
public:
    // Starts it with these arguments (its address is always 127.0.0.1).
    explicit TEmulador(std::vector<std::string> argumentos)
    {
        int errores[2];
        if (::pipe2(errores, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t acciones;
        posix_spawn_file_actions_init(&acciones);
        posix_spawn_file_actions_addopen(&acciones, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&acciones, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&acciones, errores[1], STDERR_FILENO);
        const std::string ruta = (QCoreApplication::applicationDirPath() + QStringLiteral("/gedanko-emulador")).toStdString();
        argumentos.insert(argumentos.begin(), {ruta, "--direccion", "127.0.0.1"});
        std::vector<char*> argv;
        for (std::string& a : argumentos)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&FPid, ruta.c_str(), &acciones, nullptr, argv.data(), environ) != 0)
            FPid = -1;
        posix_spawn_file_actions_destroy(&acciones);
        ::close(errores[1]);
        FErrores = errores[0];
    }

    ~TEmulador()
    {
        Matar();
        if (FErrores >= 0)
            ::close(FErrores);
    }
    TEmulador(const TEmulador&) = delete;
    TEmulador& operator=(const TEmulador&) = delete;

    // The port it announced once listening, 0 when none came in time.
    std::uint16_t Puerto(int esperaMs = 10000)
    {
        const std::string marca = "escuchando en 127.0.0.1:";
        if (!EsperarTexto(marca, esperaMs) || !EsperarTexto(" (", esperaMs))
            return 0;
        const std::size_t i = FTexto.find(marca) + marca.size();
        return static_cast<std::uint16_t>(std::stoi(FTexto.substr(i, 5)));
    }

    // Kills it at once, as a crash would, and reaps it.
    void Matar()
    {
        if (FPid <= 0)
            return;
        ::kill(FPid, SIGKILL);
        ::waitpid(FPid, nullptr, 0);
        FPid = -1;
    }

    const std::string& Texto() const { return FTexto; }

private:
    bool EsperarTexto(const std::string& texto, int esperaMs)
    {
        const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(esperaMs);
        while (FTexto.find(texto) == std::string::npos) {
            const auto resto =
                std::chrono::duration_cast<std::chrono::milliseconds>(limite - std::chrono::steady_clock::now()).count();
            pollfd p{FErrores, POLLIN, 0};
            if (resto <= 0 || ::poll(&p, 1, static_cast<int>(resto)) != 1)
                return false;
            char buf[512];
            const ssize_t n = ::read(FErrores, buf, sizeof buf);
            if (n <= 0)
                return false;
            FTexto.append(buf, static_cast<std::size_t>(n));
        }
        return true;
    }

    pid_t FPid = -1;
    int FErrores = -1;
    std::string FTexto;
};
