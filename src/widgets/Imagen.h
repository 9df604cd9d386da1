// Image control: shows its picture centred on a transparent background and
// reports mouse presses and releases in its own coordinates.
#pragma once

#include <QLabel>
#include <QPixmap>

class TImagen : public QLabel {
    Q_OBJECT

public:
    explicit TImagen(QWidget* padre = nullptr);

    // Shows the picture from the next paint of the window on.
    void FijarImagen(const QPixmap& imagen);

signals:
    void RatonPulsado(Qt::MouseButton boton, int x, int y);
    void RatonSoltado(Qt::MouseButton boton, int x, int y);

protected:
    void mousePressEvent(QMouseEvent* evento) override;
    void mouseReleaseEvent(QMouseEvent* evento) override;
};
