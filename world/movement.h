// movement.h -- the movement step of a tank and the pushing of barrels.
#pragma once

#include "world/records.h"

namespace drumhold {

void moveTank(Tank* tank);
void pushBarrels(GameState* game, Tank* tank);
void separateBarrel(GameState* game, Barrel* barrel);
double distance(double dx, double dy);

}  // namespace drumhold
