// The scales of the headset's readings and detection settings, the same on
// both sides of the engine's interface: the engine keeps and applies them,
// the program's headset link reads and bounds them, the emulator makes them.
#pragma once

#include <bit>
#include <cstdint>

// Electrodes on display, of the engine's channels.
constexpr int NumElectrodos = 16;

// Contact quality of one channel, from no contact to the best; a channel
// reads from ContactoUtilizable up.
constexpr int ContactoMinimo = 0;
constexpr int ContactoUtilizable = 2;
constexpr int ContactoMaximo = 4;

// Forward sensitivity, the clench detection's threshold; at the neutral
// value the engine leaves a detected power as it is.
constexpr int SensibilidadAvanceMinima = 0;
constexpr int SensibilidadAvanceNeutra = 500;
constexpr int SensibilidadAvanceMaxima = 1000;

// Sensitivity of each of the cognitive detections' slots (backward is the one
// of pull's slot), neutral in the middle.
constexpr int NumRanurasCognitivas = 4;
constexpr int SensibilidadCognitivaMinima = 1;
constexpr int SensibilidadCognitivaNeutra = 5;
constexpr int SensibilidadCognitivaMaxima = 9;

constexpr int SinRanura = -1;

// The slot of a cognitive action: its place among the active actions other
// than neutral, lowest bit first. SinRanura when the action is not one of
// them or has no slot left.
constexpr int RanuraCognitiva(std::uint32_t activas, std::uint32_t accion, std::uint32_t neutral)
{
    activas &= ~neutral;
    if (!std::has_single_bit(accion) || (activas & accion) == 0)
        return SinRanura;
    const int ranura = std::popcount(activas & (accion - 1));
    return ranura < NumRanurasCognitivas ? ranura : SinRanura;
}

// The program reads each GiroPorMagnitud of a horizontal gyro change as one
// step of turn magnitude (300 is the full scale of 10), and a change only
// beyond LimiteGiro as a turn.
constexpr int GiroPorMagnitud = 30;
constexpr int LimiteGiro = 50;
