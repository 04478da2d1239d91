// behaviours.h -- the two enemy behaviours: hunting the player, stealing barrels.
#pragma once

#include "world/records.h"

namespace drumhold {

void huntPlayer(Tank* tank, GameState* game);
void stealBarrel(Tank* tank, GameState* game);
Tank* nearestLivePlayer(double x, double y, Tank* players);
Barrel* nearestHomeBarrel(double x, double y, Barrel* barrels);
double turnSpeedScale(double error);

}  // namespace drumhold
