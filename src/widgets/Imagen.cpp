#include "Imagen.h"

#include <QMouseEvent>

TImagen::TImagen(QWidget* padre) : QLabel(padre)
{
    setAlignment(Qt::AlignCenter);
}

void TImagen::FijarImagen(const QPixmap& imagen)
{
    setPixmap(imagen);
    repaint();
}

void TImagen::mousePressEvent(QMouseEvent* evento)
{
    const QPoint punto = evento->position().toPoint();
    emit RatonPulsado(evento->button(), punto.x(), punto.y());
}

void TImagen::mouseReleaseEvent(QMouseEvent* evento)
{
    const QPoint punto = evento->position().toPoint();
    emit RatonSoltado(evento->button(), punto.x(), punto.y());
}
