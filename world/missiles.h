// missiles.h -- firing missiles and moving every projectile (missiles and debris).
#pragma once

#include "world/records.h"

namespace drumhold {

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

}  // namespace drumhold
