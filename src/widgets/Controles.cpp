#include "Controles.h"
#include "ColoresQt.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAction>
#include <QLineEdit>
#include <QProgressBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>

void VincularBoton(QAbstractButton* boton, QAction* accion)
{
    auto copiar = [boton, accion] {
        if (!accion->text().isEmpty())
            boton->setText(accion->text());
        boton->setToolTip(accion->toolTip());
        boton->setEnabled(accion->isEnabled());
        boton->setVisible(accion->isVisible());
        boton->setCheckable(accion->isCheckable());
        boton->setChecked(accion->isChecked());
    };
    copiar();
    QObject::connect(accion, &QAction::changed, boton, copiar);
    QObject::connect(accion, &QAction::toggled, boton, copiar);
    // The action decides the checked state, not the button.
    QObject::connect(boton, &QAbstractButton::clicked, accion, [boton, accion] {
        boton->setChecked(accion->isChecked());
        accion->trigger();
    });
}

// Just above the middle of the thumb, in screen coordinates.
static QPoint SobreElMando(const QSlider* barra)
{
    QStyleOptionSlider opcion;
    opcion.initFrom(barra);
    opcion.orientation = barra->orientation();
    opcion.minimum = barra->minimum();
    opcion.maximum = barra->maximum();
    opcion.sliderPosition = barra->sliderPosition();
    opcion.sliderValue = barra->value();
    opcion.upsideDown = barra->invertedAppearance();
    opcion.tickPosition = barra->tickPosition();
    opcion.tickInterval = barra->tickInterval();
    const QRect mando = barra->style()->subControlRect(QStyle::CC_Slider, &opcion, QStyle::SC_SliderHandle, barra);
    return barra->mapToGlobal(QPoint(mando.center().x(), mando.top()));
}

void MostrarPosicionAlArrastrar(QSlider* barra)
{
    const auto mostrar = [barra] {
        const QString texto = QString::number(barra->sliderPosition());
        // The toolkit puts a tip below and right of the point it is given:
        // lift it by its own height and that offset, so it covers nothing.
        const int alto = QFontMetrics(QToolTip::font()).height();
        QToolTip::showText(SobreElMando(barra) - QPoint(0, 2 * alto + 8), texto, barra);
    };
    QObject::connect(barra, &QSlider::sliderPressed, barra, mostrar);
    QObject::connect(barra, &QSlider::sliderMoved, barra, mostrar);
    QObject::connect(barra, &QSlider::sliderReleased, barra, [] { QToolTip::hideText(); });
}

static QPalette::ColorRole RolFondo(const QWidget* control)
{
    if (qobject_cast<const QLineEdit*>(control) || qobject_cast<const QAbstractScrollArea*>(control))
        return QPalette::Base;
    return QPalette::Window;
}

static QPalette::ColorRole RolFuente(const QWidget* control)
{
    if (qobject_cast<const QLineEdit*>(control) || qobject_cast<const QAbstractScrollArea*>(control))
        return QPalette::Text;
    return QPalette::WindowText;
}

// Sets one role in every colour group, so that a disabled control keeps it.
static void FijarRol(QWidget* control, QPalette::ColorRole rol, const QColor& color)
{
    QPalette paleta = control->palette();
    if (paleta.color(QPalette::Active, rol) == color && paleta.color(QPalette::Inactive, rol) == color
        && paleta.color(QPalette::Disabled, rol) == color)
        return;
    paleta.setColor(rol, color);
    control->setPalette(paleta);
}

void FijarColorFondo(QWidget* control, const QColor& color)
{
    const QPalette::ColorRole rol = RolFondo(control);
    if (rol == QPalette::Window && !control->autoFillBackground())
        control->setAutoFillBackground(true);
    FijarRol(control, rol, color);
}

void FijarColorFondo(QWidget* control, TColor color)
{
    FijarColorFondo(control, AColorQt(color, QPalette()));
}

QColor ColorFondo(const QWidget* control)
{
    return control->palette().color(QPalette::Active, RolFondo(control));
}

void FijarColorFuente(QWidget* control, const QColor& color)
{
    FijarRol(control, RolFuente(control), color);
}

QColor ColorFuente(const QWidget* control)
{
    return control->palette().color(QPalette::Active, RolFuente(control));
}

void FijarColorBarra(QProgressBar* barra, const QColor& color)
{
    FijarRol(barra, QPalette::Highlight, color);
}

QColor ColorBarra(const QProgressBar* barra)
{
    return barra->palette().color(QPalette::Active, QPalette::Highlight);
}
