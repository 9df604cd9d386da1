// Owns one file descriptor and closes it once.
#pragma once

#include <unistd.h>
#include <utility>

namespace emulador {

class TDescriptor {
public:
    explicit TDescriptor(int fd = -1) : FFd(fd) { }
    ~TDescriptor()
    {
        if (FFd >= 0)
            ::close(FFd);
    }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    TDescriptor(TDescriptor&& otro) noexcept : FFd(std::exchange(otro.FFd, -1)) { }
    TDescriptor& operator=(TDescriptor&& otro) noexcept
    {
        if (this != &otro) {
            if (FFd >= 0)
                ::close(FFd);
            FFd = std::exchange(otro.FFd, -1);
        }
        return *this;
    }

    int Fd() const { return FFd; }

private:
    int FFd;
};

} // namespace emulador
