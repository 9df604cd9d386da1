#include "Gauge.h"

#include "Borde.h"

#include <QPainter>
#include <algorithm>

TGauge::TGauge(QWidget* padre) : QWidget(padre)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGauge::FijarVertical(bool vertical)
{
    if (vertical == FVertical)
        return;
    FVertical = vertical;
    update();
}

void TGauge::Acotar()
{
    if (FMaximo < FMinimo)
        FMaximo = FMinimo;
    FProgreso = std::clamp(FProgreso, FMinimo, FMaximo);
}

void TGauge::FijarMinimo(int minimo)
{
    if (minimo == FMinimo)
        return;
    FMinimo = minimo;
    Acotar();
    update();
}

void TGauge::FijarMaximo(int maximo)
{
    if (maximo == FMaximo)
        return;
    FMaximo = maximo;
    Acotar();
    update();
}

void TGauge::FijarProgreso(int progreso)
{
    progreso = std::clamp(progreso, FMinimo, FMaximo);
    if (progreso == FProgreso)
        return;
    FProgreso = progreso;
    update();
}

void TGauge::FijarColorRelleno(const QColor& color)
{
    if (color == FColorRelleno)
        return;
    FColorRelleno = color;
    update();
}

void TGauge::FijarColorFondo(const QColor& color)
{
    if (color == FColorFondo)
        return;
    FColorFondo = color;
    update();
}

void TGauge::FijarMostrarTexto(bool mostrar)
{
    if (mostrar == FMostrarTexto)
        return;
    FMostrarTexto = mostrar;
    update();
}

int TGauge::Porcentaje() const
{
    const qint64 rango = qint64(FMaximo) - FMinimo;
    if (rango <= 0)
        return 0;
    return int((qint64(FProgreso) - FMinimo) * 100 / rango);
}

QString TGauge::Texto() const
{
    return QString::number(Porcentaje()) + QLatin1Char('%');
}

void TGauge::paintEvent(QPaintEvent*)
{
    QPainter lienzo(this);
    const QRect borde = rect();
    const QRect interior = borde.adjusted(1, 1, -1, -1);

    const qint64 rango = qint64(FMaximo) - FMinimo;
    const qint64 hecho = qint64(FProgreso) - FMinimo;
    QRect relleno = interior;
    if (rango <= 0) {
        relleno = QRect();
    } else if (FVertical) {
        const int alto = int(interior.height() * hecho / rango);
        relleno.setTop(interior.bottom() - alto + 1);
    } else {
        relleno.setWidth(int(interior.width() * hecho / rango));
    }

    lienzo.fillRect(interior, FColorFondo);
    if (!relleno.isEmpty())
        lienzo.fillRect(relleno, FColorRelleno);
    PintarBorde(lienzo, borde, Qt::black, borde);

    if (!FMostrarTexto)
        return;
    // The text takes the fill colour over the background and the background
    // colour over the fill, so it reads at every value.
    const QString texto = Texto();
    lienzo.setClipRect(interior);
    lienzo.setPen(FColorRelleno);
    lienzo.drawText(interior, Qt::AlignCenter, texto);
    if (!relleno.isEmpty()) {
        lienzo.setClipRect(relleno);
        lienzo.setPen(FColorFondo);
        lienzo.drawText(interior, Qt::AlignCenter, texto);
    }
}
