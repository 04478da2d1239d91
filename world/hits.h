// hits.h -- hit tests, destruction and score, explosions and their debris.
#pragma once

#include "world/records.h"

namespace drumhold {

int hitEnemies(double x, double y, double vx, double vy, double reach, double blast,
               GameState* game);
int hitPlayers(double x, double y, double vx, double vy, double reach, double blast,
               GameState* game);
Explosion* explode(GameState* game, double x, double y, double radius, double chance);
void updateExplosions(GameState* game);
void releaseExplosions();

}  // namespace drumhold
