// tables.h -- the built-in constant tables: tank outline, barrel layout, colours,
// control key bindings and the instruction text.
#pragma once

#include <span>

#include "world/records.h"

namespace drumhold {

extern const Shape tankShape;

struct BarrelHome {
    float x, y;
};
extern const std::span<const BarrelHome, 18> barrelLayout;

extern const float playerColour[4];
extern const float enemyColour[4];
extern const float borderColour[4];
extern const float barrelColour[4];
extern const float projectileColour[4];
extern const float textColour[4];
extern const float powerUpColour[4];

// Virtual-key codes of the controls, in the order left, right, up, down, fire.
struct ControlKeys {
    int left, right, forward, reverse, fire;
};
extern const ControlKeys controlKeys;

extern const std::span<const char* const, 49> instructionLines;

}  // namespace drumhold
