#include "BarraProgreso.h"

#include <QPainter>

TBarraProgreso::TBarraProgreso(QWidget* padre) : QProgressBar(padre)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TBarraProgreso::paintEvent(QPaintEvent*)
{
    QPainter lienzo(this);
    const QPalette::ColorGroup grupo = isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QRect interior = rect().adjusted(1, 1, -1, -1);
    lienzo.fillRect(interior, palette().color(grupo, QPalette::Base));
    lienzo.setPen(palette().color(grupo, QPalette::Mid));
    lienzo.drawRect(rect().adjusted(0, 0, -1, -1));

    const qint64 rango = qint64(maximum()) - minimum();
    const qint64 hecho = qint64(value()) - minimum();
    if (rango <= 0 || hecho <= 0)
        return;
    QRect barra = interior;
    if (orientation() == Qt::Vertical)
        barra.setTop(interior.bottom() + 1 - int(interior.height() * hecho / rango));
    else
        barra.setWidth(int(interior.width() * hecho / rango));
    lienzo.fillRect(barra, palette().color(grupo, QPalette::Highlight));
}
