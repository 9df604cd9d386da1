// The shaped text of the log pane's recent lines. Shaping a line (finding
// its glyphs and their places) is most of what a new line costs, and every
// appended line needs it twice: once for its width, which sizes the
// horizontal bar, and once to draw it. Kept here, a line is shaped once. The
// layouts sit in a small ring of slots by line number, so the newest lines
// and those in view are kept and the memory stays bounded.
#pragma once

#include <QTextLayout>

#include <array>
#include <memory>

class TMaquetasRegistro {
public:
    // Slots in the ring; more than a pane shows at once.
    static constexpr int Capacidad = 64;
    // Longer lines are shaped at each paint, as their layouts would be large.
    static constexpr int LargoMaximo = 1000;

    // The kept layout of the line, or nullptr.
    const QTextLayout* Buscar(int linea) const;
    // Shapes the text in the line's slot and returns its layout; nullptr
    // when a layout would not show the line as drawn plain text does (a
    // line separator inside it, which a layout breaks at) or the line is
    // too long to keep.
    const QTextLayout* Crear(int linea, const QString& texto, const QFont& fuente, Qt::LayoutDirection direccion);
    void Vaciar();

    // The line's advance, as QFontMetrics::horizontalAdvance measures it.
    static int Ancho(const QTextLayout& maqueta);
    // Draws the line from x with its baseline on lineaBase, in the painter's
    // pen.
    static void Dibujar(QPainter& pintor, const QTextLayout& maqueta, qreal x, qreal lineaBase);

private:
    struct THueco {
        int Linea = -1;
        std::unique_ptr<QTextLayout> Maqueta;
    };
    THueco& Hueco(int linea) { return FHuecos[std::size_t(linea % Capacidad)]; }
    const THueco& Hueco(int linea) const { return FHuecos[std::size_t(linea % Capacidad)]; }

    std::array<THueco, Capacidad> FHuecos;
};
