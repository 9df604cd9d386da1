// First-paint probe, preloaded (LD_PRELOAD) into the unmodified program: from
// the moment the application object exists it watches for the first paint of
// a top-level window, lets that paint finish, prints the moments and the peak
// resident memory on standard output and ends the process at once.
#include "Memoria.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <unistd.h>

namespace {

std::int64_t Ahora()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int64_t InstanteAplicacion = 0;

class TFiltroPintado : public QObject {
public:
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (FVisto || evento->type() != QEvent::Paint || !objeto->isWidgetType()
            || !static_cast<QWidget*>(objeto)->isWindow())
            return false;
        FVisto = true;
        FInicioPintado = Ahora();
        // Runs once the paint that has just begun, children included, is done.
        QTimer::singleShot(0, this, [this] {
            const std::int64_t fin = Ahora();
            std::printf("RESULTADO aplicacion=%lld pintado=%lld pintado_fin=%lld vmhwm_kb=%ld\n",
                        static_cast<long long>(InstanteAplicacion), static_cast<long long>(FInicioPintado),
                        static_cast<long long>(fin), PicoMemoriaKb());
            std::fflush(stdout);
            _exit(0);
        });
        return false;
    }

private:
    bool FVisto = false;
    std::int64_t FInicioPintado = 0;
};

void Instalar()
{
    InstanteAplicacion = Ahora();
    QCoreApplication::instance()->installEventFilter(new TFiltroPintado);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(Instalar)
