// Progress bar drawn flat and smooth: a one-pixel border, the base colour
// behind and a bar in the highlight colour growing from the left (or from
// the bottom), with nothing drawn for an empty bar.
#pragma once

#include <QProgressBar>

class TBarraProgreso : public QProgressBar {
    Q_OBJECT

public:
    explicit TBarraProgreso(QWidget* padre = nullptr);

protected:
    void paintEvent(QPaintEvent* evento) override;
};
