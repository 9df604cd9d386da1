// Strip chart of the drive decisions: six traces, one column per engine
// event, drawn upwards from fixed baselines on a paint box.
#pragma once

#include "MuestraGrafica.h"

#include <QPen>
#include <QPointF>
#include <QRect>
#include <array>
#include <cstdint>

class QLabel;
class QPainter;
class TPaintBox;

class TGrafica {
public:
    static constexpr int NumColumnas = 748;
    static constexpr int Desplazamiento = 50;

    // Baselines of the six series, y measured downwards from the top.
    static constexpr std::array<int, NumSeriesGrafica> LineasBase {20, 40, 60, 80, 100, 120};

    TGrafica(TPaintBox* paintBox, QLabel* leyenda);
    ~TGrafica();
    TGrafica(const TGrafica&) = delete;
    TGrafica& operator=(const TGrafica&) = delete;

    void Activar(bool activa);
    void Borrar();
    // Stores the sample and marks for painting only the columns it changes;
    // the paint comes with the window's next pass, merged with the others.
    void AnadirMuestra(const TMuestraGrafica& valores);
    // The whole chart, or only the columns that meet zona.
    void Pintar(QPainter& lienzo);
    void Pintar(QPainter& lienzo, const QRect& zona);

    bool Activa() const { return FActiva; }
    int NumMuestras() const { return FNumMuestras; }
    std::int32_t Muestra(int serie, int columna) const { return FSeries[serie][columna]; }

private:
    void PintarInactiva(QPainter& lienzo);
    void PintarActiva(QPainter& lienzo, const QRect& zona);
    void PintarSerie(QPainter& lienzo, int serie, int desde, int hasta);

    TPaintBox* FPaintBox;
    QLabel* FLeyenda;
    std::array<std::array<std::int32_t, NumColumnas>, NumSeriesGrafica> FSeries {};
    std::uint16_t FNumMuestras = 0;
    bool FActiva = false;
    // The look changed or the chart was emptied since the last whole paint.
    bool FRepintarTodo = true;

    // Made once so that a paint allocates nothing of its own: the pens and
    // the point buffer of one trace (its starting point plus one per column).
    std::array<QPen, NumSeriesGrafica> FPlumasSerie;
    QColor FColorGris;
    QColor FColorNegro;
    QColor FColorPlata;
    std::array<QPointF, NumColumnas + 1> FPuntos {};
};
