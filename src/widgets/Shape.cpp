#include "Shape.h"

#include <QPainter>
#include <algorithm>

TShape::TShape(QWidget* padre) : QWidget(padre) { }

void TShape::FijarCirculo(bool circulo)
{
    if (circulo == FCirculo)
        return;
    FCirculo = circulo;
    update();
}

void TShape::FijarColorRelleno(const QColor& color)
{
    if (color == FColorRelleno)
        return;
    FColorRelleno = color;
    update();
}

void TShape::FijarAnchoBorde(int ancho)
{
    ancho = std::max(ancho, 0);
    if (ancho == FAnchoBorde)
        return;
    FAnchoBorde = ancho;
    update();
}

void TShape::paintEvent(QPaintEvent*)
{
    QPainter lienzo(this);
    if (FAnchoBorde > 0)
        lienzo.setPen(QPen(Qt::black, FAnchoBorde, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    else
        lienzo.setPen(Qt::NoPen);
    lienzo.setBrush(FColorRelleno);

    // The outline lies inside the control.
    const qreal medio = FAnchoBorde / 2.0;
    if (FCirculo) {
        lienzo.setRenderHint(QPainter::Antialiasing);
        const int lado = std::min(width(), height());
        QRectF caja((width() - lado) / 2.0, (height() - lado) / 2.0, lado, lado);
        lienzo.drawEllipse(caja.adjusted(medio, medio, -medio, -medio));
    } else if (FAnchoBorde > 0) {
        lienzo.drawRect(QRectF(rect()).adjusted(medio, medio, -medio, -medio));
    } else {
        lienzo.fillRect(rect(), FColorRelleno);
    }
}
