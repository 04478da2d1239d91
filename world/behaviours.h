// behaviours.h -- the two enemy behaviours: hunting the player, stealing barrels.
#pragma once

#include "world/records.h"

namespace drumhold {

int huntPlayer(Tank* tank, GameState* game);
int stealBarrel(Tank* tank, GameState* game);
Tank* nearestLivePlayer(double x, double y, Tank* players);
Barrel* nearestHomeBarrel(double x, double y, Barrel* barrels);
double turnSpeedScale(double error);

}  // namespace drumhold
