#include "GuardadoRegistro.h"

#include "CodigoPagina.h"
#include "Descriptor.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool EscribirTodo(int fd, const char* datos, qsizetype cuantos)
{
    while (cuantos > 0) {
        const ssize_t escritos = ::write(fd, datos, size_t(cuantos));
        if (escritos < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        datos += escritos;
        cuantos -= escritos;
    }
    return true;
}

enum class TReserva { Hecha, NoAdmitida, Fallida };

// Allocates the file's first `cuantos` bytes on the disk without changing its
// length or contents; Fallida leaves the reason in errno (ENOSPC when full).
TReserva Reservar(int fd, qsizetype cuantos)
{
    if (cuantos == 0)
        return TReserva::Hecha;
    int resultado;
    do
        resultado = ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, off_t(cuantos));
    while (resultado != 0 && errno == EINTR);
    if (resultado == 0)
        return TReserva::Hecha;
    return errno == EOPNOTSUPP || errno == ENOSYS ? TReserva::NoAdmitida : TReserva::Fallida;
}

} // namespace

QByteArray TGuardadoRegistro::Codificar(const QString& texto)
{
    return ACodigoPagina(texto);
}

bool TGuardadoRegistro::Fallar(TPasoGuardado paso, int codigo)
{
    FPasoFallido = paso;
    FCodigoError = codigo;
    return false;
}

bool TGuardadoRegistro::Guardar(const QString& ruta, const QByteArray& bytes)
{
    return Guardar(ruta, bytes.size(),
                   [&bytes](const TEscritor& escribir) { return escribir(bytes.constData(), bytes.size()); });
}

bool TGuardadoRegistro::Guardar(const QString& ruta, qsizetype bytes, const TProductor& producir)
{
    FPasoFallido = pgNinguno;
    FCodigoError = 0;

    // No O_TRUNC: a file that another writer holds locked must be left as it
    // is, so it is emptied only once the lock is ours. O_NONBLOCK only for the
    // opening: a pipe without a reader fails at once instead of freezing the
    // window and the control loop.
    TDescriptor fichero(::open(QFile::encodeName(ruta).constData(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666));
    if (fichero.Fd() < 0)
        return Fallar(pgAbrir, errno);
    const int estado = ::fcntl(fichero.Fd(), F_GETFL);
    if (estado < 0 || ::fcntl(fichero.Fd(), F_SETFL, estado & ~O_NONBLOCK) != 0)
        return Fallar(pgAbrir, errno);
    if (::flock(fichero.Fd(), LOCK_EX | LOCK_NB) != 0)
        return Fallar(pgAbrir, errno);
    struct stat datos { };
    if (::fstat(fichero.Fd(), &datos) != 0)
        return Fallar(pgAbrir, errno);
    // Devices such as a terminal or /dev/full are written as they are. A
    // regular file gets room for the new text before its old text is
    // touched, so that an earlier log on a full disk stays whole; where the
    // file system cannot reserve room it is emptied first instead.
    const bool regular = S_ISREG(datos.st_mode);
    if (regular) {
        switch (Reservar(fichero.Fd(), bytes)) {
        case TReserva::Hecha:
            break;
        case TReserva::NoAdmitida:
            if (::ftruncate(fichero.Fd(), 0) != 0)
                return Fallar(pgAbrir, errno);
            break;
        case TReserva::Fallida:
            return Fallar(pgEscribir, errno);
        }
    }

    qsizetype escritos = 0;
    int errorEscritura = 0;
    const TEscritor escribir = [&](const char* trozo, qsizetype cuantos) {
        if (!EscribirTodo(fichero.Fd(), trozo, cuantos)) {
            errorEscritura = errno;
            return false;
        }
        escritos += cuantos;
        return true;
    };
    bool escrito = producir(escribir);
    if (!escrito && errorEscritura == 0)
        errorEscritura = errno != 0 ? errno : EIO; // a piece that could not be made
    // Written over the old text: what is left of it beyond the new end goes.
    if (escrito && regular && ::ftruncate(fichero.Fd(), escritos) != 0) {
        escrito = false;
        errorEscritura = errno;
    }
    const bool cerrado = fichero.Cerrar();
    if (!escrito)
        return Fallar(pgEscribir, errorEscritura);
    if (!cerrado)
        return Fallar(pgCerrar, errno);
    return true;
}

QString TGuardadoRegistro::Mensaje() const
{
    const auto conCodigo = [this](const char* texto) {
        return QString::fromUtf8(texto) + QLatin1Char('\n') + QString::number(FCodigoError);
    };
    switch (FPasoFallido) {
    case pgAbrir:
        return conCodigo("Se ha producido un error abriendo el fichero");
    case pgEscribir:
        return conCodigo("Se ha producido un error escribiendo en el fichero");
    case pgCerrar:
        return conCodigo("Se ha producido un error cerrando el fichero");
    case pgNinguno:
    default:
        return QStringLiteral("El fichero se ha guardado con éxito");
    }
}
