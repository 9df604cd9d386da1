#include "Imagen.h"

#include <QMouseEvent>

TImagen::TImagen(QWidget* padre) : QLabel(padre)
{
    setAlignment(Qt::AlignCenter);
}

// The paint comes with the window's next pump, merged with the rest of the
// window's changes into one paint and one flush.
void TImagen::FijarImagen(const QPixmap& imagen)
{
    setPixmap(imagen);
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
