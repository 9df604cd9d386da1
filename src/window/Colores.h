// Colours written as 0x00BBGGRR, and system colours as 0xFF000000 plus the
// system colour index, mapped onto Qt colours and the palette.
#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clGreen = 0x008000;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clPurple = 0x800080;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clTeal = 0x808000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clNaranja = 0x0080FF;
constexpr TColor clWindowText = 0xFF000008;
constexpr TColor clWindow = 0xFF000005;
constexpr TColor clBtnFace = 0xFF00000F;

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
