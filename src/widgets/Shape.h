// Coloured shape: a circle (the largest that fits, centred) or a rectangle
// filling the control, with a black outline of the given width (none at 0).
#pragma once

#include <QColor>
#include <QWidget>

class TShape : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool Circulo READ Circulo WRITE FijarCirculo)
    Q_PROPERTY(QColor ColorRelleno READ ColorRelleno WRITE FijarColorRelleno)
    Q_PROPERTY(int AnchoBorde READ AnchoBorde WRITE FijarAnchoBorde)

public:
    explicit TShape(QWidget* padre = nullptr);

    bool Circulo() const { return FCirculo; }
    QColor ColorRelleno() const { return FColorRelleno; }
    int AnchoBorde() const { return FAnchoBorde; }

    void FijarCirculo(bool circulo);
    void FijarColorRelleno(const QColor& color);
    void FijarAnchoBorde(int ancho);

protected:
    void paintEvent(QPaintEvent* evento) override;

private:
    bool FCirculo = false;
    QColor FColorRelleno = Qt::white;
    int FAnchoBorde = 1;
};
