#include "SalidaTrama.h"
#include "OrdenVehiculo.h"

#include <QDateTime>

TSalidaTrama::TSalidaTrama(std::unique_ptr<TEnlaceTrama> enlace, QString nombre)
    : FEnlace(std::move(enlace)),
      FNombre(std::move(nombre))
{
    FLatido.setInterval(trama::IntervaloLatidoMs);
    FLatido.setTimerType(Qt::PreciseTimer);
    QObject::connect(&FLatido, &QTimer::timeout, [this] { Repetir(); });
    FReintento.setInterval(IntervaloReintentoMs);
    QObject::connect(&FReintento, &QTimer::timeout, [this] { Reintentar(); });
    // Queued: the link reports from inside its own calls.
    FEnlace->FijarAlPerder([this] { QTimer::singleShot(0, &FReintento, [this] { Perder(); }); });
}

TSalidaTrama::~TSalidaTrama()
{
    if (FLatido.isActive())
        Enviar(OrdenParada);
}

bool TSalidaTrama::Abrir()
{
    FAbierto = FEnlace->Abrir();
    if (!FAbierto)
        FMensajeError = FEnlace->MensajeError();
    return FAbierto;
}

bool TSalidaTrama::Enviar(std::uint8_t orden)
{
    if (!FAbierto)
        return false;
    FOrden = orden;
    return EnviarActual();
}

void TSalidaTrama::Latir(bool activo)
{
    if (activo)
        FLatido.start();
    else
        FLatido.stop();
}

void TSalidaTrama::Repetir()
{
    if (!FLatido.isActive())
        return;
    if (FVigente)
        FOrden = FVigente();
    EnviarActual();
}

bool TSalidaTrama::EnviarActual()
{
    if (!FAbierto)
        return false;
    std::uint8_t bytes[trama::LongitudTrama];
    Codificar(FOrden, bytes);
    if (FEnlace->Enviar(bytes, trama::LongitudTrama)) {
        VigilarRespuesta();
        return true;
    }
    Perder();
    return false;
}

void TSalidaTrama::Codificar(std::uint8_t orden, std::uint8_t* bytes)
{
    trama::Codificar(orden, SiguienteSecuencia(), FClave, bytes);
}

// Never behind the clock, and never the same twice even when frames come
// faster than the clock's milliseconds.
std::uint32_t TSalidaTrama::SiguienteSecuencia()
{
    const std::uint32_t reloj = RelojSecuencia();
    FSecuencia = trama::Posterior(reloj, FSecuencia) ? reloj : FSecuencia + 1;
    return FSecuencia;
}

void TSalidaTrama::VigilarRespuesta()
{
    const bool responde = FEnlace->Responde();
    if (responde == FResponde)
        return;
    FResponde = responde;
    Avisar(!responde, responde ? QStringLiteral("Salida %1: el receptor responde").arg(FNombre)
                               : QStringLiteral("Salida %1: el receptor no responde").arg(FNombre));
}

std::uint32_t TSalidaTrama::RelojSecuencia()
{
    return static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch());
}

void TSalidaTrama::Perder()
{
    if (!FAbierto)
        return;
    FAbierto = false;
    // Whatever was current when the link broke is stale once it is back.
    FOrden = OrdenParada;
    FEnlace->Cerrar();
    Avisar(true,
           QStringLiteral("Salida %1 perdida: %2; se reintenta cada segundo").arg(FNombre, FEnlace->MensajeError()));
    FReintento.start();
}

void TSalidaTrama::Reintentar()
{
    if (!FEnlace->Abrir())
        return;
    FReintento.stop();
    FAbierto = true;
    Avisar(false, QStringLiteral("Salida %1 recuperada").arg(FNombre));
    EnviarActual();
}

// Queued, so that the log's own pumping never runs inside a send.
void TSalidaTrama::Avisar(bool error, const QString& linea) const
{
    if (FAviso)
        QTimer::singleShot(0, &FReintento, [aviso = FAviso, error, linea] { aviso(error, linea); });
}
