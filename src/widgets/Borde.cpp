#include "Borde.h"

#include <QPainter>

void PintarBorde(QPainter& lienzo, const QRect& caja, const QColor& color, const QRect& zona)
{
    if (caja.isEmpty())
        return;
    const QRect lados[] = {
        QRect(caja.left(), caja.top(), caja.width(), 1),
        QRect(caja.left(), caja.bottom(), caja.width(), 1),
        QRect(caja.left(), caja.top(), 1, caja.height()),
        QRect(caja.right(), caja.top(), 1, caja.height()),
    };
    for (const QRect& lado : lados) {
        const QRect visible = lado & zona;
        if (!visible.isEmpty())
            lienzo.fillRect(visible, color);
    }
}
