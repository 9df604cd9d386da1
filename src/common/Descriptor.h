// Owns one POSIX file descriptor (file, socket, pipe) and closes it once.
#pragma once

#include <unistd.h>
#include <utility>

class TDescriptor {
public:
    explicit TDescriptor(int fd = -1) : FFd(fd) { }
    ~TDescriptor() { Cerrar(); }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    TDescriptor(TDescriptor&& otro) noexcept : FFd(std::exchange(otro.FFd, -1)) { }
    TDescriptor& operator=(TDescriptor&& otro) noexcept
    {
        if (this != &otro) {
            Cerrar();
            FFd = std::exchange(otro.FFd, -1);
        }
        return *this;
    }

    int Fd() const { return FFd; }
    // Closes now; false with errno set when close reports an error (the
    // descriptor is gone either way on Linux, so it is not retried).
    bool Cerrar()
    {
        const int fd = std::exchange(FFd, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int FFd;
};
