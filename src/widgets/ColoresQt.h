// The program's colours (common/Colores.h) on Qt's colours and palette.
#pragma once

#include "Colores.h"

#include <QColor>
#include <QPalette>

// clWindow is the base colour, clBtnFace the button colour and clWindowText
// the window-text colour of the given palette.
inline QColor AColorQt(TColor color, const QPalette& paleta = QPalette())
{
    switch (color) {
    case clWindow:
        return paleta.color(QPalette::Base);
    case clBtnFace:
        return paleta.color(QPalette::Button);
    case clWindowText:
        return paleta.color(QPalette::WindowText);
    default:
        return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
    }
}
