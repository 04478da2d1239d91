// tables.h -- the built-in constant tables: tank outline, barrel layout, colours,
// control key bindings and the instruction text.
#pragma once

#include <array>

#include "data/keys.h"

namespace drumhold {

// The game's own π, off from the true value in the ninth decimal. Every angle of
// the game turns between degrees and radians with it, so it is kept as it is.
// (The true π, where the arithmetic needs it, is math/'s kTruePi.)
inline constexpr double kGamePi = 3.141592645;
// Its half, a quarter turn: halving a double is exact, so this is the double
// nearest 1.5707963225.
inline constexpr double kGameHalfPi = kGamePi / 2;
static_assert(kGameHalfPi == 1.5707963225);

// A tank outline: closed line loops over 1-based vertex indices.
struct Shape {
    int vertexCount;
    const float (*vertices)[2];
    int loopCount;
    const int* loopLengths;
    const int* const* loopIndices;
};

extern const Shape tankShape;

struct BarrelHome {
    float x, y;
};

// Five columns of barrels around the centre of the field.
inline constexpr std::array<BarrelHome, 18> barrelLayout{{
    {-6, -6}, {-6, -2}, {-6, 2}, {-6, 6},
    {-3, -4}, {-3, 0},  {-3, 4},
    {0, -6},  {0, -2},  {0, 2},  {0, 6},
    {3, -4},  {3, 0},   {3, 4},
    {6, -6},  {6, -2},  {6, 2},  {6, 6},
}};

// RGBA
inline constexpr float playerColour[4] = {0, 1, 0, 1};
inline constexpr float enemyColour[4] = {1, 1, 0, 1};
inline constexpr float borderColour[4] = {0, 0, 1, 1};
inline constexpr float barrelColour[4] = {1, 1, 1, 1};
inline constexpr float projectileColour[4] = {1, 0, 0, 1};
inline constexpr float textColour[4] = {0, 1, 1, 1};
inline constexpr float powerUpColour[4] = {0.1f, 0.2f, 1, 1};

// The player's controls, read through this binding: arrows steer and drive,
// shift fires.
struct ControlKeys {
    int left, right, forward, reverse, fire;
};
inline constexpr ControlKeys controlKeys = {vk::left, vk::right, vk::up, vk::down, vk::shift};

extern const std::array<const char*, 49> instructionLines;

}  // namespace drumhold
