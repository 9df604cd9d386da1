#include "PanelRegistro.h"

#include "AlmacenRegistro.h"
#include "BarraRegistro.h"
#include "ColoresQt.h"
#include "Tipos.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

// A cut line's tool tip: its text in lines of at most this many characters,
// broken at a blank where there is one, and no more than LargoNota
// characters of it; its whole text stays readable by scrolling sideways. As
// rich text with its blanks kept, so that no text of the line is taken for
// markup and Qt's own wrapping of tips does not squeeze it.
constexpr int LargoLineaNota = 100;
constexpr int LargoNota = 2000;

QString NotaLinea(const QString& texto)
{
    QStringView resto = QStringView(texto).left(LargoNota);
    QStringList partes;
    while (resto.size() > LargoLineaNota) {
        const qsizetype blanco = resto.left(LargoLineaNota + 1).lastIndexOf(QLatin1Char(' '));
        const qsizetype corte = blanco > 0 ? blanco : LargoLineaNota;
        partes << resto.left(corte).toString().toHtmlEscaped();
        resto = resto.mid(blanco > 0 ? corte + 1 : corte);
    }
    partes << resto.toString().toHtmlEscaped();
    if (texto.size() > LargoNota)
        partes.back() += QChar(0x2026);
    return QStringLiteral("<p style=\"white-space:pre\">") + partes.join(QStringLiteral("<br>"))
           + QStringLiteral("</p>");
}

} // namespace

TPanelRegistro::TPanelRegistro(QWidget* padre)
    : QAbstractScrollArea(padre),
      FAlmacen(std::make_unique<TAlmacenRegistro>(QFile::encodeName(QDir::tempPath()).toStdString()))
{
    setFocusPolicy(Qt::ClickFocus);
    // Every append moves the bars; they repaint only when their look changes.
    setVerticalScrollBar(FBarraVertical = new TBarraRegistro(Qt::Vertical, this));
    setHorizontalScrollBar(FBarraHorizontal = new TBarraRegistro(Qt::Horizontal, this));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

TPanelRegistro::~TPanelRegistro() = default;

void TPanelRegistro::Anadir(int nivel, QStringView texto)
{
    const int inicio = NumLineas();
    qsizetype desde = 0;
    for (;;) {
        const qsizetype salto = texto.indexOf(QLatin1Char('\n'), desde);
        if (salto < 0) {
            AnadirLinea(nivel, texto.mid(desde));
            break;
        }
        AnadirLinea(nivel, texto.mid(desde, salto - desde));
        desde = salto + 1;
    }
    // The caret moves to the entry's start, unless the operator is making or
    // holds a selection: lines keep coming while they read and copy.
    if (!FArrastrando && !HaySeleccion()) {
        FCursorLinea = FAnclaLinea = inicio;
        FCursorColumna = FAnclaColumna = 0;
    }

    TBarraRegistro* barra = FBarraVertical;
    const int antes = barra->value();
    // The view follows new lines only while it shows the last one; scrolled
    // up, it stays where the operator put it until they return to the end.
    const bool seguir = antes >= barra->maximum();
    // The bars are repainted once, if at all, for their final look.
    FBarraHorizontal->Cambiar([&] {
        barra->Cambiar([&] {
            AjustarBarras();
            if (seguir)
                barra->setValue(barra->maximum());
        });
    });
    if (barra->value() == antes) {
        // The view did not move: only the new lines need painting, if they
        // are in view at all. A move has scrolled the lines already shown
        // (scrollContentsBy).
        const int y = Margen + (inicio - barra->value()) * AltoLinea();
        if (y < viewport()->height())
            viewport()->update(0, y, viewport()->width(), viewport()->height() - y);
    }
    emit LineasAnadidas();
}

void TPanelRegistro::AnadirLinea(int nivel, QStringView linea)
{
    const QByteArray utf8 = linea.toUtf8();
    FAlmacen->Anadir(nivel, std::string_view(utf8.constData(), std::size_t(utf8.size())));
    // Shaped here for its width and kept for its first paint, which follows.
    const QString texto = linea.toString();
    const QTextLayout* maqueta = Maquetar(NumLineas() - 1, texto);
    FAnchoMaximo = std::max(FAnchoMaximo, maqueta ? TMaquetasRegistro::Ancho(*maqueta) : AnchoTexto(texto));
}

const QTextLayout* TPanelRegistro::Maquetar(int linea, const QString& texto)
{
    return FMaquetas.Crear(linea, texto, font(), layoutDirection());
}

void TPanelRegistro::DibujarLinea(QPainter& pintor, const QTextLayout* maqueta, const QString& texto, int x,
                                  int lineaBase) const
{
    if (maqueta)
        TMaquetasRegistro::Dibujar(pintor, *maqueta, x, lineaBase);
    else
        pintor.drawText(x, lineaBase, texto);
}

void TPanelRegistro::Limpiar()
{
    FAlmacen->Limpiar();
    FMaquetas.Vaciar();
    FAnchoMaximo = 0;
    FCursorLinea = FCursorColumna = FAnclaLinea = FAnclaColumna = 0;
    AjustarBarras();
    viewport()->update();
}

int TPanelRegistro::NumLineas() const
{
    return int(FAlmacen->NumLineas());
}

QString TPanelRegistro::Linea(int i) const
{
    return QString::fromUtf8(FAlmacen->Linea(std::size_t(i)));
}

int TPanelRegistro::Nivel(int i) const
{
    return FAlmacen->Nivel(std::size_t(i));
}

QString TPanelRegistro::TextoCompleto() const
{
    QString texto;
    bool primera = true;
    FAlmacen->Recorrer(0, FAlmacen->NumLineas(), [&](std::string_view linea, int) {
        if (!std::exchange(primera, false))
            texto += QLatin1Char('\n');
        texto += QString::fromUtf8(linea);
        return true;
    });
    return texto;
}

QColor TPanelRegistro::ColorLinea(int i) const
{
    switch (Nivel(i)) {
    case nrInformacion:
        return AColorQt(clBlue, palette());
    case nrError:
        return AColorQt(clRed, palette());
    default:
        return AColorQt(clWindowText, palette());
    }
}

int TPanelRegistro::AltoLinea() const
{
    return std::max(1, fontMetrics().lineSpacing());
}

int TPanelRegistro::AnchoTexto(const QString& texto) const
{
    return fontMetrics().horizontalAdvance(texto);
}

int TPanelRegistro::LineasEnVista() const
{
    return std::max(1, (viewport()->height() - 2 * Margen) / AltoLinea());
}

int TPanelRegistro::PrimeraLineaVisible() const
{
    return verticalScrollBar()->value();
}

// Setting a step signals a change even when it is the same; only real
// changes reach the bars.
static void AjustarBarra(TBarraRegistro& barra, int paso, int pasoSimple, int maximo)
{
    barra.Cambiar([&] {
        if (barra.pageStep() != paso)
            barra.setPageStep(paso);
        if (barra.singleStep() != pasoSimple)
            barra.setSingleStep(pasoSimple);
        barra.FijarRango(0, maximo);
    });
}

void TPanelRegistro::AjustarBarras()
{
    const int enVista = LineasEnVista();
    AjustarBarra(*FBarraVertical, enVista, FBarraVertical->singleStep(), std::max(0, NumLineas() - enVista));
    const int ancho = viewport()->width();
    AjustarBarra(*FBarraHorizontal, ancho, std::max(1, fontMetrics().averageCharWidth()),
                 std::max(0, FAnchoMaximo + 2 * Margen - ancho));
}

void TPanelRegistro::ReajustarBarras()
{
    const bool alFinal = FBarraVertical->value() >= FBarraVertical->maximum();
    AjustarBarras();
    if (alFinal)
        FBarraVertical->setValue(FBarraVertical->maximum());
}

void TPanelRegistro::resizeEvent(QResizeEvent* evento)
{
    QAbstractScrollArea::resizeEvent(evento);
    ReajustarBarras();
}

void TPanelRegistro::changeEvent(QEvent* evento)
{
    QAbstractScrollArea::changeEvent(evento);
    if (evento->type() == QEvent::LayoutDirectionChange) {
        FMaquetas.Vaciar();
        viewport()->update();
    }
    if (evento->type() == QEvent::FontChange) {
        FMaquetas.Vaciar();
        FAnchoMaximo = 0;
        FAlmacen->Recorrer(0, FAlmacen->NumLineas(), [this](std::string_view linea, int) {
            FAnchoMaximo = std::max(FAnchoMaximo, AnchoTexto(QString::fromUtf8(linea)));
            return true;
        });
        ReajustarBarras();
        viewport()->update();
    }
}

// Only the band of whole lines moves as pixels: the margins and a partly
// shown line below it would carry stale rows, so they are painted afresh.
// A sideways move or a jump past the view repaints everything.
void TPanelRegistro::scrollContentsBy(int dx, int dy)
{
    const int enVista = LineasEnVista();
    if (dx != 0 || std::abs(dy) >= enVista) {
        viewport()->update();
        return;
    }
    const int alto = AltoLinea();
    const QRect lineas(0, Margen, viewport()->width(), enVista * alto);
    viewport()->scroll(0, dy * alto, lineas);
    const int debajo = lineas.bottom() + 1;
    viewport()->update(0, debajo, viewport()->width(), viewport()->height() - debajo);
}

bool TPanelRegistro::LimitesSeleccion(int& l1, int& c1, int& l2, int& c2) const
{
    if (!HaySeleccion())
        return false;
    const bool anclaPrimero
        = FAnclaLinea < FCursorLinea || (FAnclaLinea == FCursorLinea && FAnclaColumna < FCursorColumna);
    l1 = anclaPrimero ? FAnclaLinea : FCursorLinea;
    c1 = anclaPrimero ? FAnclaColumna : FCursorColumna;
    l2 = anclaPrimero ? FCursorLinea : FAnclaLinea;
    c2 = anclaPrimero ? FCursorColumna : FAnclaColumna;
    return true;
}

void TPanelRegistro::paintEvent(QPaintEvent* evento)
{
    QPainter pintor(viewport());
    pintor.setFont(font());
    const int alto = AltoLinea();
    const int ascenso = fontMetrics().ascent();
    const int x0 = Margen - horizontalScrollBar()->value();
    const int primera = PrimeraLineaVisible();
    const QRect zona = evento->rect();
    int s1 = 0, c1 = 0, s2 = -1, c2 = 0;
    const bool seleccion = LimitesSeleccion(s1, c1, s2, c2);

    const int desde = primera + std::max(0, (zona.top() - Margen) / alto);
    const int hasta = std::min(NumLineas() - 1, primera + (zona.bottom() - Margen) / alto);
    for (int i = desde; i <= hasta; ++i) {
        const int y = Margen + (i - primera) * alto;
        // A kept layout needs no text; the text is read for a line shaped
        // now or drawn plain, and for a selection's bounds.
        const bool seleccionada = seleccion && i >= s1 && i <= s2;
        const QTextLayout* maqueta = FMaquetas.Buscar(i);
        QString texto;
        if (!maqueta || seleccionada)
            texto = Linea(i);
        if (!maqueta)
            maqueta = Maquetar(i, texto);
        ++FLineasPintadas;
        QRect resaltado;
        if (seleccionada) {
            const int a = i == s1 ? std::min<int>(c1, texto.size()) : 0;
            const int b = i == s2 ? std::min<int>(c2, texto.size()) : texto.size();
            const int xa = x0 + AnchoTexto(texto.left(a));
            // A selected line break shows as a small block past the text.
            const int xb = x0 + AnchoTexto(texto.left(b)) + (i < s2 ? fontMetrics().averageCharWidth() : 0);
            resaltado = QRect(xa, y, xb - xa, alto);
        }
        pintor.setPen(ColorLinea(i));
        DibujarLinea(pintor, maqueta, texto, x0, y + ascenso);
        if (!resaltado.isEmpty()) {
            // The selected part again, in the highlight's own colours.
            pintor.save();
            pintor.setClipRect(resaltado);
            pintor.fillRect(resaltado, palette().color(QPalette::Highlight));
            pintor.setPen(palette().color(QPalette::HighlightedText));
            DibujarLinea(pintor, maqueta, texto, x0, y + ascenso);
            pintor.restore();
        }
    }
}

void TPanelRegistro::PosicionEn(const QPoint& punto, int& linea, int& columna) const
{
    linea = 0;
    columna = 0;
    if (NumLineas() == 0)
        return;
    const int y = punto.y() - Margen;
    linea = std::clamp(PrimeraLineaVisible() + (y < 0 ? -1 : y / AltoLinea()), 0, NumLineas() - 1);
    const QString texto = Linea(linea);
    const int x = punto.x() - Margen + horizontalScrollBar()->value();
    columna = 0;
    while (columna < texto.size()) {
        const int mitad = AnchoTexto(texto.left(columna)) + AnchoTexto(texto.mid(columna, 1)) / 2;
        if (x < mitad)
            break;
        ++columna;
    }
}

void TPanelRegistro::MoverCursor(int linea, int columna, bool extender)
{
    if (NumLineas() == 0)
        linea = columna = 0;
    else {
        linea = std::clamp(linea, 0, NumLineas() - 1);
        columna = std::clamp(columna, 0, int(Linea(linea).size()));
    }
    FCursorLinea = linea;
    FCursorColumna = columna;
    if (!extender) {
        FAnclaLinea = linea;
        FAnclaColumna = columna;
    }
    viewport()->update();
}

bool TPanelRegistro::HaySeleccion() const
{
    return FAnclaLinea != FCursorLinea || FAnclaColumna != FCursorColumna;
}

QString TPanelRegistro::TextoSeleccionado() const
{
    int l1 = 0, c1 = 0, l2 = 0, c2 = 0;
    if (!LimitesSeleccion(l1, c1, l2, c2))
        return QString();
    QString texto;
    for (int i = l1; i <= l2; ++i) {
        const QString linea = Linea(i);
        const int a = i == l1 ? c1 : 0;
        const int b = i == l2 ? c2 : int(linea.size());
        texto += linea.mid(a, b - a);
        if (i < l2)
            texto += QLatin1Char('\n');
    }
    return texto;
}

void TPanelRegistro::SeleccionarTodo()
{
    if (NumLineas() == 0)
        return;
    FAnclaLinea = 0;
    FAnclaColumna = 0;
    FCursorLinea = NumLineas() - 1;
    FCursorColumna = int(Linea(FCursorLinea).size());
    viewport()->update();
}

void TPanelRegistro::Copiar() const
{
    if (HaySeleccion())
        QApplication::clipboard()->setText(TextoSeleccionado());
}

void TPanelRegistro::mousePressEvent(QMouseEvent* evento)
{
    if (evento->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(evento);
    FArrastrando = true;
    int linea = 0, columna = 0;
    PosicionEn(evento->position().toPoint(), linea, columna);
    MoverCursor(linea, columna, evento->modifiers().testFlag(Qt::ShiftModifier));
}

void TPanelRegistro::mouseReleaseEvent(QMouseEvent* evento)
{
    if (evento->button() == Qt::LeftButton)
        FArrastrando = false;
    QAbstractScrollArea::mouseReleaseEvent(evento);
}

void TPanelRegistro::mouseMoveEvent(QMouseEvent* evento)
{
    if (!evento->buttons().testFlag(Qt::LeftButton))
        return QAbstractScrollArea::mouseMoveEvent(evento);
    int linea = 0, columna = 0;
    PosicionEn(evento->position().toPoint(), linea, columna);
    MoverCursor(linea, columna, true);
}

bool TPanelRegistro::viewportEvent(QEvent* evento)
{
    if (evento->type() != QEvent::ToolTip)
        return QAbstractScrollArea::viewportEvent(evento);
    const auto* ayuda = static_cast<QHelpEvent*>(evento);
    const int y = ayuda->pos().y() - Margen;
    const int linea = PrimeraLineaVisible() + (y < 0 ? -1 : y / AltoLinea());
    if (y < 0 || linea >= NumLineas()) {
        QToolTip::hideText();
        return true;
    }
    const QString texto = Linea(linea);
    const int desplazado = horizontalScrollBar()->value();
    // Only a line the view cuts, on either side, needs its text repeated.
    if (desplazado == 0 && Margen + AnchoTexto(texto) <= viewport()->width()) {
        QToolTip::hideText();
        return true;
    }
    const QRect zona(0, Margen + (linea - PrimeraLineaVisible()) * AltoLinea(), viewport()->width(), AltoLinea());
    QToolTip::showText(ayuda->globalPos(), NotaLinea(texto), viewport(), zona);
    return true;
}

void TPanelRegistro::keyPressEvent(QKeyEvent* evento)
{
    if (evento->matches(QKeySequence::SelectAll))
        SeleccionarTodo();
    else if (evento->matches(QKeySequence::Copy))
        Copiar();
    else
        QAbstractScrollArea::keyPressEvent(evento);
}
