#include "Imagenes.h"

#include <QCoreApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <memory>

static void IniciarRecursos()
{
    // The resources live in a static library: make sure they are registered.
    static const bool iniciados = [] {
        Q_INIT_RESOURCE(recursos);
        return true;
    }();
    (void)iniciados;
}

using TCache = QHash<QString, QPixmap>;

static std::unique_ptr<TCache>& Cache()
{
    static std::unique_ptr<TCache> cache;
    return cache;
}

static void LiberarCache()
{
    Cache().reset();
}

static QPixmap Renderizar(const QString& nombre, QSize tamano)
{
    IniciarRecursos();
    std::unique_ptr<TCache>& cache = Cache();
    if (!cache) {
        cache = std::make_unique<TCache>();
        // Pixmaps must go before the application does.
        qAddPostRoutine(LiberarCache);
    }
    const QString clave = nombre + QStringLiteral("@%1x%2").arg(tamano.width()).arg(tamano.height());
    const auto encontrado = cache->constFind(clave);
    if (encontrado != cache->constEnd())
        return *encontrado;

    QSvgRenderer svg(QStringLiteral(":/imagenes/") + nombre + QStringLiteral(".svg"));
    QImage imagen(tamano, QImage::Format_ARGB32_Premultiplied);
    imagen.fill(Qt::transparent);
    if (svg.isValid()) {
        QPainter lienzo(&imagen);
        svg.render(&lienzo, QRectF(QPointF(0, 0), QSizeF(tamano)));
    }
    QPixmap resultado = QPixmap::fromImage(imagen);
    cache->insert(clave, resultado);
    return resultado;
}

static QPixmap DeLista(const char* lista, int indice, int cuantas, QSize tamano)
{
    if (indice < 0 || indice >= cuantas)
        return {};
    return Renderizar(QLatin1String(lista) + QString::number(indice), tamano);
}

QPixmap ImagenCasco(int indice)
{
    return DeLista("casco", indice, NumImagenesCasco, {220, 256});
}

QPixmap ImagenFlechasArribaAbajo(int indice)
{
    return DeLista("flechas_aa", indice, NumImagenesFlechasArribaAbajo, {30, 160});
}

QPixmap ImagenFlechasIzquierdaDerecha(int indice)
{
    return DeLista("flechas_id", indice, NumImagenesFlechasIzquierdaDerecha, {160, 30});
}

QPixmap ImagenToolBars(int indice)
{
    return DeLista("toolbar", indice, NumImagenesToolBars, {24, 24});
}

QPixmap ImagenLeyenda()
{
    return Renderizar(QStringLiteral("leyenda"), {20, 130});
}

QPixmap GlifoCarpeta()
{
    return Renderizar(QStringLiteral("carpeta"), {16, 16});
}

QPixmap GlifoCentrar()
{
    return Renderizar(QStringLiteral("centrar"), {16, 16});
}

QIcon IconoPrograma()
{
    QIcon icono;
    for (int lado : {16, 24, 32, 48, 64})
        icono.addPixmap(Renderizar(QStringLiteral("icono"), {lado, lado}).copy());
    return icono;
}
