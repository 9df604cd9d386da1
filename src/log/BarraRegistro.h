// A scroll bar that repaints only when what it draws changes. The log pane
// moves its range and position with every line, but once the log is long
// the slider keeps its length and place for many lines in a row.
#pragma once

#include <QRect>
#include <QScrollBar>
#include <QStyle>

class TBarraRegistro : public QScrollBar {
public:
    explicit TBarraRegistro(Qt::Orientation orientacion, QWidget* padre = nullptr);

    // setRange without rangeChanged when the value stays inside: on that
    // signal the scroll area lays its bars out again and raises both, which
    // repaints them. For bars that are always shown the new layout is the
    // same, so the signal is only needed when the range moves the value.
    void FijarRango(int minimo, int maximo);

    // Runs cambio (setRange, setValue, ... which repaint the bar whether its
    // look changes or not) with Qt's repaints held back; the bar is repainted
    // afterwards only when its look differs from the last paint.
    template <typename TCambio> void Cambiar(TCambio cambio)
    {
        const bool retenido = testAttribute(Qt::WA_UpdatesDisabled);
        setAttribute(Qt::WA_UpdatesDisabled, true);
        cambio();
        setAttribute(Qt::WA_UpdatesDisabled, retenido);
        RepintarSiCambia();
    }

protected:
    void sliderChange(SliderChange cambio) override;
    void paintEvent(QPaintEvent* evento) override;

private:
    // What the style's drawing depends on, beyond the palette and size.
    struct TAspecto {
        QRect Cursor;
        bool Vacia = false;
        bool AlPrincipio = false;
        bool AlFinal = false;
        QStyle::State Estado;
        QStyle::SubControls Activos;
        bool operator==(const TAspecto&) const = default;
    };

    TAspecto Aspecto() const;
    void RepintarSiCambia();

    // The look of the last paint; a change that keeps it paints nothing.
    TAspecto FPintado;
    bool FPintadoValido = false;
};
