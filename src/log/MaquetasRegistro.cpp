#include "MaquetasRegistro.h"

#include <QPainter>
#include <QTextOption>

const QTextLayout* TMaquetasRegistro::Buscar(int linea) const
{
    if (linea < 0)
        return nullptr;
    const THueco& hueco = Hueco(linea);
    return hueco.Linea == linea ? hueco.Maqueta.get() : nullptr;
}

const QTextLayout* TMaquetasRegistro::Crear(int linea, const QString& texto, const QFont& fuente,
                                            Qt::LayoutDirection direccion)
{
    if (linea < 0 || texto.size() > LargoMaximo)
        return nullptr;
    auto maqueta = std::make_unique<QTextLayout>(texto, fuente);
    // As QPainter::drawText shapes: in the painter's direction, with the
    // layout kept after it is built.
    QTextOption opciones;
    opciones.setTextDirection(direccion);
    maqueta->setTextOption(opciones);
    maqueta->setCacheEnabled(true);
    maqueta->beginLayout();
    const QTextLine unica = maqueta->createLine();
    maqueta->endLayout();
    if (!unica.isValid() || unica.textLength() != texto.size() || maqueta->lineCount() != 1)
        return nullptr;
    THueco& hueco = Hueco(linea);
    hueco.Linea = linea;
    hueco.Maqueta = std::move(maqueta);
    return hueco.Maqueta.get();
}

void TMaquetasRegistro::Vaciar()
{
    for (THueco& hueco : FHuecos)
        hueco = THueco();
}

int TMaquetasRegistro::Ancho(const QTextLayout& maqueta)
{
    return qRound(maqueta.lineAt(0).horizontalAdvance());
}

void TMaquetasRegistro::Dibujar(QPainter& pintor, const QTextLayout& maqueta, qreal x, qreal lineaBase)
{
    // A layout is drawn from its top; its ascent, unlike the font metrics',
    // is not rounded, so the top is placed to put the baseline exactly on y.
    maqueta.draw(&pintor, QPointF(x, lineaBase - maqueta.lineAt(0).ascent()));
}
