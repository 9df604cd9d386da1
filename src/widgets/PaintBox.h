// A bare paint surface whose painting is handed to one handler, with the
// part of the box that is being painted.
#pragma once

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>
#include <functional>

class TPaintBox : public QWidget {
    Q_OBJECT
public:
    using TManejadorPintar = std::function<void(QPainter&, const QRect& zona)>;

    explicit TPaintBox(QWidget* padre = nullptr) : QWidget(padre) { }
    void FijarManejador(TManejadorPintar manejador) { FManejador = std::move(manejador); }

protected:
    void paintEvent(QPaintEvent* evento) override
    {
        if (!FManejador)
            return;
        QPainter lienzo(this);
        FManejador(lienzo, evento->rect());
    }

private:
    TManejadorPintar FManejador;
};
