// Small helpers that give Qt controls the behaviour of the designed ones:
// buttons bound to actions, and colours set only when they change.
#pragma once

#include "Colores.h"

#include <QColor>

class QAbstractButton;
class QAction;
class QProgressBar;
class QSlider;
class QWidget;

// The button takes the action's caption, hint, enabled state, visibility and
// checked state now and whenever they change; a click triggers the action.
// The button's own icon is left alone.
void VincularBoton(QAbstractButton* boton, QAction* accion);

// While the operator drags the track bar's thumb, a tip above the thumb
// shows its position; it goes when the thumb is released.
void MostrarPosicionAlArrastrar(QSlider* barra);

// Background of a control: the base colour of edits and text panes, the
// window colour (filled) of everything else.
void FijarColorFondo(QWidget* control, const QColor& color);
QColor ColorFondo(const QWidget* control);
void FijarColorFondo(QWidget* control, TColor color);

// Text colour of a label or edit.
void FijarColorFuente(QWidget* control, const QColor& color);
QColor ColorFuente(const QWidget* control);

// The bar of a progress bar.
void FijarColorBarra(QProgressBar* barra, const QColor& color);
QColor ColorBarra(const QProgressBar* barra);
