// The one-pixel outline of a rectangle, the pixels QPainter::drawRect gives
// with a one-pixel pen, drawn as four fills. A stroked outline costs the
// raster engine tens of thousands of instructions per call even where the
// clip leaves a few pixels of it; fills clip to a rectangle for free, which
// matters for controls repainted with every headset state.
#pragma once

#include <QColor>
#include <QRect>

class QPainter;

// Draws the edge pixels of caja (its first and last rows and columns) that
// lie inside zona.
void PintarBorde(QPainter& lienzo, const QRect& caja, const QColor& color, const QRect& zona);
