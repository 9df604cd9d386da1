// Bar gauge: a range, a progress held inside it, a fill growing from the
// left (or from the bottom), a single black border and optionally the fill
// written as a whole percentage in the middle. Repaints only on a change.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class TGauge : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool Vertical READ Vertical WRITE FijarVertical)
    Q_PROPERTY(int Minimo READ Minimo WRITE FijarMinimo)
    Q_PROPERTY(int Maximo READ Maximo WRITE FijarMaximo)
    Q_PROPERTY(int Progreso READ Progreso WRITE FijarProgreso)
    Q_PROPERTY(QColor ColorRelleno READ ColorRelleno WRITE FijarColorRelleno)
    Q_PROPERTY(QColor ColorFondo READ ColorFondo WRITE FijarColorFondo)
    Q_PROPERTY(bool MostrarTexto READ MostrarTexto WRITE FijarMostrarTexto)

public:
    explicit TGauge(QWidget* padre = nullptr);

    bool Vertical() const { return FVertical; }
    int Minimo() const { return FMinimo; }
    int Maximo() const { return FMaximo; }
    int Progreso() const { return FProgreso; }
    QColor ColorRelleno() const { return FColorRelleno; }
    QColor ColorFondo() const { return FColorFondo; }
    bool MostrarTexto() const { return FMostrarTexto; }

    void FijarVertical(bool vertical);
    // A maximum below the minimum is taken as the minimum (an empty range);
    // the progress is brought into the range whenever either bound moves.
    void FijarMinimo(int minimo);
    void FijarMaximo(int maximo);
    void FijarProgreso(int progreso);
    void FijarColorRelleno(const QColor& color);
    void FijarColorFondo(const QColor& color);
    void FijarMostrarTexto(bool mostrar);

    // The filled part as a whole percentage of the range (truncated); 0 for
    // an empty range.
    int Porcentaje() const;
    // What the gauge writes in its middle, e.g. "50%".
    QString Texto() const;

protected:
    void paintEvent(QPaintEvent* evento) override;

private:
    void Acotar();

    bool FVertical = false;
    int FMinimo = 0;
    int FMaximo = 100;
    int FProgreso = 0;
    QColor FColorRelleno = Qt::black;
    QColor FColorFondo = Qt::white;
    bool FMostrarTexto = true;
};
