// tick.h -- the game tick, the player's controls and the per-tick updates of
// the player and the enemies.
#pragma once

#include <cstdint>

#include "data/keys.h"
#include "world/records.h"

namespace drumhold {

void gameTick(GameState* game, const KeyTable& keys, std::uint32_t elapsedMs);
void readControls(Tank* player, const KeyTable& keys);
void updatePlayers(Tank* players, GameState* game);
void runBehaviours(Tank* enemies, GameState* game);
void updateEnemies(Tank* enemies, GameState* game);

}  // namespace drumhold
