#include "BarraRegistro.h"

#include <QSignalBlocker>
#include <QStyleOptionSlider>

TBarraRegistro::TBarraRegistro(Qt::Orientation orientacion, QWidget* padre) : QScrollBar(orientacion, padre) { }

TBarraRegistro::TAspecto TBarraRegistro::Aspecto() const
{
    QStyleOptionSlider opcion;
    initStyleOption(&opcion);
    TAspecto aspecto;
    aspecto.Cursor = style()->subControlRect(QStyle::CC_ScrollBar, &opcion, QStyle::SC_ScrollBarSlider, this);
    aspecto.Vacia = opcion.minimum == opcion.maximum;
    aspecto.AlPrincipio = opcion.sliderValue == opcion.minimum;
    aspecto.AlFinal = opcion.sliderValue == opcion.maximum;
    aspecto.Estado = opcion.state;
    aspecto.Activos = opcion.activeSubControls;
    return aspecto;
}

void TBarraRegistro::sliderChange(SliderChange cambio)
{
    if (FPintadoValido && Aspecto() == FPintado)
        return;
    QScrollBar::sliderChange(cambio);
}

void TBarraRegistro::paintEvent(QPaintEvent* evento)
{
    FPintado = Aspecto();
    FPintadoValido = true;
    QScrollBar::paintEvent(evento);
}

void TBarraRegistro::RepintarSiCambia()
{
    if (!FPintadoValido || Aspecto() != FPintado)
        update();
}

void TBarraRegistro::FijarRango(int minimo, int maximo)
{
    if (minimum() == minimo && maximum() == maximo)
        return;
    const bool valorDentro = value() >= minimo && value() <= maximo;
    const QSignalBlocker bloqueo(valorDentro ? this : nullptr);
    setRange(minimo, maximo);
}
