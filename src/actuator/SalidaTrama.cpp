#include "SalidaTrama.h"
#include "OrdenVehiculo.h"
#include "Trama.h"

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
    trama::Codificar(FOrden, bytes);
    if (FEnlace->Enviar(bytes, trama::LongitudTrama))
        return true;
    Perder();
    return false;
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
