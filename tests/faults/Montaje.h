// A small tmpfs mounted for one test (root only) in a fresh folder, unmounted
// and removed on every way out of the test. Tests skip when it cannot be had.
#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <vector>

class TMontajeTmpfs {
public:
    explicit TMontajeTmpfs(const char* opciones = "size=64k")
    {
        if (::geteuid() != 0 || !FCarpeta.isValid())
            return;
        FRuta = FCarpeta.path().toStdString();
        FMontado = ::mount("tmpfs", FRuta.c_str(), "tmpfs", 0, opciones) == 0;
    }
    ~TMontajeTmpfs()
    {
        if (FMontado)
            ::umount2(FRuta.c_str(), MNT_DETACH);
    }
    TMontajeTmpfs(const TMontajeTmpfs&) = delete;
    TMontajeTmpfs& operator=(const TMontajeTmpfs&) = delete;

    bool Montado() const { return FMontado; }
    QString Ruta(const QString& nombre) const { return FCarpeta.filePath(nombre); }

    // Fills what is left of the space with one file; true when the device
    // ended full (the last write failed with ENOSPC).
    bool Llenar() const
    {
        const std::string relleno = FRuta + "/relleno";
        const int fd = ::open(relleno.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            return false;
        const std::vector<char> bloque(4096, 'x');
        bool lleno = false;
        for (int i = 0; i < 100000 && !lleno; ++i) // bounded: far beyond any small tmpfs
            lleno = ::write(fd, bloque.data(), bloque.size()) < 0 && errno == ENOSPC;
        // Also the last bytes of a partial block.
        while (lleno && ::write(fd, bloque.data(), 1) == 1) { }
        ::close(fd);
        return lleno;
    }

    bool SoloLectura() const { return ::mount("tmpfs", FRuta.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0; }

private:
    QTemporaryDir FCarpeta;
    std::string FRuta;
    bool FMontado = false;
};
