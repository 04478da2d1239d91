// powerups.h -- the power-up slot: spawning, ageing and collection.
#pragma once

#include "world/records.h"

namespace drumhold {

PowerUp* createPowerUp(GameState* game);
PowerUp* agePowerUp(PowerUp* powerUp);
void playerCollectPowerUp(Tank* tank, GameState* game);
bool enemyCollectPowerUp(Tank* tank, GameState* game);

}  // namespace drumhold
