#include "SenalesSalida.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int SenalesDeSalida[] = {SIGTERM, SIGINT, SIGHUP};

// The handler may only write to the pipe; the window's thread does the rest.
volatile std::sig_atomic_t GEscritura = -1;

extern "C" void AlRecibirSenal(int)
{
    const int error = errno;
    const char aviso = 1;
    if (GEscritura >= 0) [[maybe_unused]]
        const ssize_t escrito = ::write(GEscritura, &aviso, 1);
    errno = error;
}

} // namespace

TSenalesSalida::TSenalesSalida(std::function<void()> alRecibir) : FAlRecibir(std::move(alRecibir)) { }

TSenalesSalida::~TSenalesSalida()
{
    for (const int senal : SenalesDeSalida)
        std::signal(senal, SIG_DFL);
    GEscritura = -1;
}

bool TSenalesSalida::Instalar()
{
    int extremos[2];
    if (::pipe2(extremos, O_NONBLOCK | O_CLOEXEC) != 0) {
        FMensajeError = QStringLiteral("No se pueden atender las señales de fin de sesión: %1")
                            .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    FLectura = TDescriptor(extremos[0]);
    FEscritura = TDescriptor(extremos[1]);
    FAviso = std::make_unique<QSocketNotifier>(FLectura.Fd(), QSocketNotifier::Read);
    connect(FAviso.get(), &QSocketNotifier::activated, this, [this] { Atender(); });
    GEscritura = FEscritura.Fd();

    struct sigaction accion { };
    accion.sa_handler = AlRecibirSenal;
    sigemptyset(&accion.sa_mask);
    accion.sa_flags = SA_RESTART;
    for (const int senal : SenalesDeSalida) {
        if (::sigaction(senal, &accion, nullptr) != 0) {
            FMensajeError = QStringLiteral("No se pueden atender las señales de fin de sesión: %1")
                                .arg(QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
    }
    return true;
}

void TSenalesSalida::Atender()
{
    char avisos[64];
    while (::read(FLectura.Fd(), avisos, sizeof avisos) > 0) { }
    if (FAlRecibir)
        FAlRecibir();
}
