#include "Grafica.h"

#include "Borde.h"
#include "ColoresQt.h"
#include "PaintBox.h"

#include <QLabel>
#include <QPainter>
#include <algorithm>

namespace {

// How many columns either side of a point its segments and their joins can
// colour: a new sample changes this many columns before its own.
constexpr int AlcanceColumna = 2;

constexpr std::array<TColor, NumSeriesGrafica> ColoresSerie {clBlack, clBlue, clRed, clGreen, clFuchsia, clTeal};

// One-pixel solid pen. With square caps Qt draws both end points of a line
// or polyline, so the coordinates below name the last pixel drawn.
QPen Pluma(TColor color)
{
    QPen pluma(AColorQt(color), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    pluma.setCosmetic(true);
    return pluma;
}

} // namespace

TGrafica::TGrafica(TPaintBox* paintBox, QLabel* leyenda)
    : FPaintBox(paintBox),
      FLeyenda(leyenda),
      FColorGris(AColorQt(clGray)),
      FColorNegro(AColorQt(clBlack)),
      FColorPlata(AColorQt(clSilver))
{
    for (int s = 0; s < NumSeriesGrafica; ++s)
        FPlumasSerie[s] = Pluma(ColoresSerie[s]);
    if (FPaintBox) {
        FPaintBox->FijarManejador([this](QPainter& lienzo, const QRect& zona) { Pintar(lienzo, zona); });
        // Every pixel asked for is painted: what lies behind the box need
        // not be painted first.
        FPaintBox->setAttribute(Qt::WA_OpaquePaintEvent);
    }
    Activar(false);
    Borrar();
}

// The paint box may outlive the chart: no later paint may reach it.
TGrafica::~TGrafica()
{
    if (FPaintBox)
        FPaintBox->FijarManejador(nullptr);
}

void TGrafica::Activar(bool activa)
{
    FActiva = activa;
    FRepintarTodo = true;
    if (FLeyenda)
        FLeyenda->setVisible(activa);
}

void TGrafica::Borrar()
{
    FNumMuestras = 0;
    FRepintarTodo = true;
    for (auto& serie : FSeries)
        serie.fill(0);
}

void TGrafica::AnadirMuestra(const TMuestraGrafica& valores)
{
    ++FNumMuestras;
    // A full chart scrolls left by a block of columns at once, so the
    // histories are moved only once every block.
    const bool desplazada = FNumMuestras >= NumColumnas;
    if (desplazada) {
        for (auto& serie : FSeries) {
            std::copy(serie.begin() + Desplazamiento, serie.end(), serie.begin());
            std::fill(serie.end() - Desplazamiento, serie.end(), 0);
        }
        FNumMuestras = NumColumnas - Desplazamiento;
    }
    for (int s = 0; s < NumSeriesGrafica; ++s)
        FSeries[s][FNumMuestras] = valores[s];
    // The idle look shows no samples. Otherwise a sample changes only its own
    // column and the AlcanceColumna before it; a scroll moves every column,
    // once in a block, and a new look or an emptied chart shows at the first
    // sample.
    if (!FPaintBox || !FActiva)
        return;
    if (desplazada || FRepintarTodo) {
        FRepintarTodo = false;
        FPaintBox->update();
    } else {
        FPaintBox->update(FNumMuestras - AlcanceColumna, 0, AlcanceColumna + 1, FPaintBox->height());
    }
}

void TGrafica::Pintar(QPainter& lienzo)
{
    Pintar(lienzo, FPaintBox ? FPaintBox->rect() : QRect());
}

void TGrafica::Pintar(QPainter& lienzo, const QRect& zona)
{
    lienzo.setRenderHint(QPainter::Antialiasing, false);
    if (FActiva)
        PintarActiva(lienzo, zona);
    else
        PintarInactiva(lienzo);
}

// The box filled and outlined in borde, both only inside zona.
static void PintarMarco(QPainter& lienzo, const QWidget& caja, const QColor& relleno, const QColor& borde,
                        const QRect& zona)
{
    const QRect marco(0, 0, caja.width(), caja.height());
    lienzo.fillRect(marco & zona, relleno);
    PintarBorde(lienzo, marco, borde, zona);
}

void TGrafica::PintarInactiva(QPainter& lienzo)
{
    if (!FPaintBox)
        return;
    PintarMarco(lienzo, *FPaintBox, AColorQt(clBtnFace, FPaintBox->palette()), FColorGris, FPaintBox->rect());
}

// Every step is limited to the columns of zona: pixels outside it are left
// as they are, so a partial paint must not draw there at all.
void TGrafica::PintarActiva(QPainter& lienzo, const QRect& zona)
{
    if (!FPaintBox || zona.isEmpty())
        return;
    lienzo.save();
    lienzo.setClipRect(zona, Qt::IntersectClip);
    PintarMarco(lienzo, *FPaintBox, AColorQt(clWindow, FPaintBox->palette()), FColorNegro, zona);

    // Grid lines of fixed length, columns 0 to 747, filled only where zona
    // needs them: a clipped stroke would still walk the whole line.
    for (int y : LineasBase)
        lienzo.fillRect(QRect(0, y, NumColumnas, 1) & zona, FColorPlata);

    for (int s = 0; s < NumSeriesGrafica; ++s)
        PintarSerie(lienzo, s, zona.left(), zona.right());
    lienzo.restore();
}

// The trace runs from the baseline at column 0 through every stored sample up
// to the newest one, which is drawn at once (its own pixel included) so the
// operator sees each decision as soon as it is made. Most traces are flat most
// of the time: a point inside a flat run only moves the run's end, which draws
// the same pixels with far fewer segments. The pixels of column x come from
// the segments that end there and from how Qt joins them to the next ones,
// so columns desde..hasta need the samples AlcanceColumna either side.
void TGrafica::PintarSerie(QPainter& lienzo, int serie, int desde, int hasta)
{
    const int primera = std::max(0, desde - AlcanceColumna);
    const int ultima = std::min<int>(FNumMuestras, hasta + AlcanceColumna);
    if (FNumMuestras == 0 || primera >= ultima)
        return;
    const double base = LineasBase[serie];
    const auto& valores = FSeries[serie];
    int puntos = 0;
    if (primera == 0)
        FPuntos[puntos++] = QPointF(0, base);
    for (int x = primera; x <= ultima; ++x) {
        const double y = base - valores[x];
        if (puntos >= 2 && FPuntos[puntos - 1].y() == y && FPuntos[puntos - 2].y() == y)
            FPuntos[puntos - 1].setX(x);
        else
            FPuntos[puntos++] = QPointF(x, y);
    }
    lienzo.setPen(FPlumasSerie[serie]);
    lienzo.drawPolyline(FPuntos.data(), puntos);
}
