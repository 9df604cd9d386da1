// One column of the strip chart, as the drive decision gives it and the chart
// draws it: one value per series, in the chart's order.
#pragma once

#include <array>
#include <cstdint>

// What each series shows: nothing detected, a neutral detection, the forward
// and backward powers, the left and right turn magnitudes.
enum TSerieGrafica : std::uint8_t { sgNinguna, sgNeutral, sgAvance, sgRetroceso, sgIzquierda, sgDerecha };

constexpr int NumSeriesGrafica = 6;

using TMuestraGrafica = std::array<std::uint16_t, NumSeriesGrafica>;
