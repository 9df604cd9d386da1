// The window's picture lists, drawn as SVG in the resources and rendered
// once, at their designed size with a transparent background, on first use.
// An index outside a list gives a null picture.
#pragma once

#include <QIcon>
#include <QPixmap>

constexpr int NumImagenesCasco = 3; // 220 x 256: 0 grey, 1 cyan, 2 red
constexpr int NumImagenesFlechasArribaAbajo = 7; // 30 x 160
constexpr int NumImagenesFlechasIzquierdaDerecha = 5; // 160 x 30
constexpr int NumImagenesToolBars = 8; // 24 x 24

QPixmap ImagenCasco(int indice);
QPixmap ImagenFlechasArribaAbajo(int indice);
QPixmap ImagenFlechasIzquierdaDerecha(int indice);
QPixmap ImagenToolBars(int indice);
QPixmap ImagenLeyenda(); // 20 x 130, the chart's legend
QPixmap GlifoCarpeta(); // 16 x 16, the open folder
QPixmap GlifoCentrar(); // 16 x 16, the gyro re-zero
QIcon IconoPrograma();
