// A bare paint surface whose painting is handed to one handler.
#pragma once

#include <QPainter>
#include <QWidget>
#include <functional>

class TPaintBox : public QWidget {
    Q_OBJECT
public:
    using TManejadorPintar = std::function<void(QPainter&)>;

    explicit TPaintBox(QWidget* padre = nullptr) : QWidget(padre) { }
    void FijarManejador(TManejadorPintar manejador) { FManejador = std::move(manejador); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!FManejador)
            return;
        QPainter lienzo(this);
        FManejador(lienzo);
    }

private:
    TManejadorPintar FManejador;
};
