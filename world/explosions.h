// explosions.h -- bursts of debris, their per-tick update and release.
#pragma once

#include "world/records.h"

namespace drumhold {

Explosion* explode(GameState* game, double x, double y, double radius, double chance);
void updateExplosions(GameState* game);
void releaseExplosions(GameState* game);

}  // namespace drumhold
