// The real gedanko-emulador process, started from the tests' own folder on a
// free loopback port and killed when the object goes, whatever the path.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <cstdint>

class TProcesoEmulador {
public:
    explicit TProcesoEmulador(const QStringList& argumentos)
    {
        FProceso.setStandardInputFile(QProcess::nullDevice());
        FProceso.setStandardOutputFile(QProcess::nullDevice());
        // The announcement comes on the error output: wait on that channel.
        FProceso.setReadChannel(QProcess::StandardError);
        FProceso.start(QCoreApplication::applicationDirPath() + QStringLiteral("/gedanko-emulador"),
                       QStringList{QStringLiteral("--direccion"), QStringLiteral("127.0.0.1"), QStringLiteral("--puerto"),
                                   QStringLiteral("0")}
                           + argumentos);
    }

    ~TProcesoEmulador() { Matar(); }
    TProcesoEmulador(const TProcesoEmulador&) = delete;
    TProcesoEmulador& operator=(const TProcesoEmulador&) = delete;

    // The port the server announces on its error output once it listens; 0
    // when it does not within `esperaMs` or the process ends first.
    std::uint16_t Puerto(int esperaMs = 10000)
    {
        static const QRegularExpression anuncio(QStringLiteral("escuchando en 127\\.0\\.0\\.1:(\\d+) "));
        const QDeadlineTimer limite(esperaMs);
        while (!limite.hasExpired()) {
            FErrores += QString::fromUtf8(FProceso.readAllStandardError());
            const QRegularExpressionMatch encontrado = anuncio.match(FErrores);
            if (encontrado.hasMatch())
                return static_cast<std::uint16_t>(encontrado.captured(1).toUInt());
            if (FProceso.state() == QProcess::NotRunning)
                return 0;
            FProceso.waitForReadyRead(int(std::max<qint64>(1, limite.remainingTime())));
        }
        return 0;
    }

    // Ends the process at once (as a crash or a pulled cable would) and
    // waits, for a bounded time, until it is gone.
    bool Matar()
    {
        if (FProceso.state() == QProcess::NotRunning)
            return true;
        FProceso.kill();
        return FProceso.waitForFinished(5000);
    }

    const QString& Errores() const { return FErrores; }

private:
    QProcess FProceso;
    QString FErrores;
};
