// tick.h -- the game tick, controls, movement and barrel pushing.
#pragma once

#include <cstdint>

#include "world/records.h"

namespace drumhold {

void gameTick(std::uint32_t elapsedMs);
void readControls(GameState* game, Tank* player);
void updatePlayers(Tank* players, GameState* game);
void runBehaviours(Tank* enemies, GameState* game);
void updateEnemies(Tank* enemies, GameState* game);
void moveTank(Tank* tank);
void pushBarrels(GameState* game, Tank* tank);
void separateBarrel(GameState* game, Barrel* barrel);
double distance(double dx, double dy);

}  // namespace drumhold
