// hits.h -- the sweep tests that destroy tanks, and the score they move.
#pragma once

#include "world/records.h"

namespace drumhold {

// True when any tank of the list was destroyed.
bool hitEnemies(double x, double y, double vx, double vy, double reach, double blast,
                GameState* game);
bool hitPlayers(double x, double y, double vx, double vy, double reach, double blast,
                GameState* game);

}  // namespace drumhold
