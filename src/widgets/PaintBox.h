// A bare paint surface whose painting is handed to one handler.
#pragma once

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>
#include <functional>

class TPaintBox : public QWidget {
    Q_OBJECT
public:
    using TManejadorPintar = std::function<void(QPainter&)>;

    explicit TPaintBox(QWidget* padre = nullptr) : QWidget(padre) { }
    void FijarManejador(TManejadorPintar manejador) { FManejador = std::move(manejador); }
    // The part being painted, while the handler runs; the whole box otherwise.
    QRect ZonaPintada() const { return FZona.isNull() ? rect() : FZona; }

protected:
    void paintEvent(QPaintEvent* evento) override
    {
        if (!FManejador)
            return;
        QPainter lienzo(this);
        FZona = evento->rect();
        FManejador(lienzo);
        FZona = QRect();
    }

private:
    TManejadorPintar FManejador;
    QRect FZona;
};
