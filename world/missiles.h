// missiles.h -- what flies: firing missiles and moving every projectile
// (missiles and debris), how a homing one picks its target and turns, the
// sweep tests that destroy tanks and the score they move, and the bursts of
// debris that follow.
#pragma once

#include "world/records.h"

namespace drumhold {

// Firing and moving (missiles.cpp).
// Returns the new head: the shot's missiles, newest first, then the old list.
// A scatter shot draws from `random`.
Projectile* fireMissiles(Projectile* list, double x, double y, double heading, int flags,
                         double speed, Random& random);
// Moves, steers, detonates and tests every projectile once; releases the dead ones.
// Returns how many are left.
int updateProjectiles(Projectile*& list, GameState* game);
void updatePlayerMissiles(Tank* players, GameState* game);
void updateEnemyMissiles(Tank* enemies, GameState* game);
void releaseProjectiles(Projectile* list);

// Homing (homing.cpp).
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

// Hits (hits.cpp): true when any tank of the list was destroyed.
bool hitEnemies(double x, double y, double vx, double vy, double reach, double blast,
                GameState* game);
bool hitPlayers(double x, double y, double vx, double vy, double reach, double blast,
                GameState* game);

// Explosions (explosions.cpp): bursts of debris, their per-tick update and release.
Explosion* explode(GameState* game, double x, double y, double radius, double chance);
void updateExplosions(GameState* game);
void releaseExplosions(GameState* game);

}  // namespace drumhold
