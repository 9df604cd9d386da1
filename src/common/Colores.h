// Colours written as 0x00BBGGRR, and system colours as 0xFF000000 plus the
// system colour index. Plain numbers: widgets/ColoresQt.h maps them onto Qt.
#pragma once

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
