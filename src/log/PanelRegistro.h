// The event log's pane: keeps every line compactly in a store whose memory
// stays bounded however long the log grows (older lines go to a temporary
// file) and paints only the lines in view, so an append costs the same at
// any length.
#pragma once

#include "MaquetasRegistro.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QString>

#include <memory>

class TAlmacenRegistro;
class TBarraRegistro;

class TPanelRegistro : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TPanelRegistro(QWidget* padre = nullptr);
    ~TPanelRegistro() override;

    // Appends the text as new lines (one per line feed) of the given level.
    // A view at the last line follows it to the new last line; a view the
    // operator scrolled up stays. The caret goes to the entry's start unless
    // the operator is selecting or holds a selection.
    void Anadir(int nivel, QStringView texto);
    void Limpiar();

    // Every line, joined with line feeds.
    QString TextoCompleto() const;
    int NumLineas() const;
    QString Linea(int i) const;
    int Nivel(int i) const;
    QColor ColorLinea(int i) const;
    int LineaCursor() const { return FCursorLinea; }
    int ColumnaCursor() const { return FCursorColumna; }
    // Moves the caret; with extender the anchor stays, making a selection.
    void MoverCursor(int linea, int columna, bool extender = false);
    bool HaySeleccion() const;
    QString TextoSeleccionado() const;
    void SeleccionarTodo();
    void Copiar() const;
    int PrimeraLineaVisible() const;
    int AltoLinea() const;
    // The lines themselves, for saving and for tests.
    const TAlmacenRegistro& Almacen() const { return *FAlmacen; }
    // Test hook: lines drawn by paint events since the last reset.
    long LineasPintadas() const { return FLineasPintadas; }
    void ReiniciarLineasPintadas() { FLineasPintadas = 0; }

signals:
    void LineasAnadidas();

protected:
    void paintEvent(QPaintEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* evento) override;
    void mouseMoveEvent(QMouseEvent* evento) override;
    void mouseReleaseEvent(QMouseEvent* evento) override;
    // Shows the whole text of a line that the view cuts as its tool tip.
    bool viewportEvent(QEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void changeEvent(QEvent* evento) override;

private:
    static constexpr int Margen = 2;

    void AnadirLinea(int nivel, QStringView linea);
    void AjustarBarras();
    // Fits the bars to a new size or font; a view at the last line stays
    // there, so that it goes on following new lines.
    void ReajustarBarras();
    int LineasEnVista() const;
    int AnchoTexto(const QString& texto) const;
    // Shapes the line and keeps its layout; nullptr for a line drawn as
    // plain text.
    const QTextLayout* Maquetar(int linea, const QString& texto);
    void DibujarLinea(QPainter& pintor, const QTextLayout* maqueta, const QString& texto, int x, int lineaBase) const;
    void PosicionEn(const QPoint& punto, int& linea, int& columna) const;
    // Selection bounds in order; false when nothing is selected.
    bool LimitesSeleccion(int& l1, int& c1, int& l2, int& c2) const;

    std::unique_ptr<TAlmacenRegistro> FAlmacen;
    TMaquetasRegistro FMaquetas;
    // Owned by the pane as its scroll bars.
    TBarraRegistro* FBarraVertical = nullptr;
    TBarraRegistro* FBarraHorizontal = nullptr;
    int FAnchoMaximo = 0;
    int FCursorLinea = 0;
    int FCursorColumna = 0;
    int FAnclaLinea = 0;
    int FAnclaColumna = 0;
    // The left button went down in the pane and is still held.
    bool FArrastrando = false;
    long FLineasPintadas = 0;
};
