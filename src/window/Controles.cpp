#include "Controles.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAction>
#include <QLineEdit>
#include <QProgressBar>

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
