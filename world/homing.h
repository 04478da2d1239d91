// homing.h -- how a homing projectile picks its target and turns toward it.
#pragma once

#include "world/records.h"

namespace drumhold {

// Bearing from (px, py) to (qx, qy) in the heading convention (0 up, 90 left),
// in (0, 360]. The enemy behaviours aim with it too.
float bearing(double px, double py, double qx, double qy);

// The tank a homing projectile steers at, or nullptr: an enemy's missile looks
// only at the first player, anyone else's at the enemy whose bearing differs
// least from the heading. Either way it must lie strictly within 15 degrees.
Tank* homingTarget(const Projectile& projectile, const GameState* game);

// Turns the projectile at most 1 degree toward its target, the shorter way, and
// points its velocity along the new heading. No target: nothing changes.
void steerProjectile(Projectile& projectile, const GameState* game);

}  // namespace drumhold
