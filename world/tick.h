// tick.h -- the game tick and the steps it takes with the tanks: the player's
// controls, the per-tick updates of the player and the enemies, movement and
// the pushing of barrels, the two enemy behaviours, and the power-up slot.
#pragma once

#include <cstdint>

#include "data/keys.h"
#include "world/records.h"

namespace drumhold {

// The tick (tick.cpp).
void gameTick(GameState* game, const KeyTable& keys, std::uint32_t elapsedMs);
void readControls(Tank* player, const KeyTable& keys);
void updatePlayers(Tank* players, GameState* game);
void runBehaviours(Tank* enemies, GameState* game);
void updateEnemies(Tank* enemies, GameState* game);

// Movement (movement.cpp): a tank's movement step and the pushing of barrels.
void moveTank(Tank* tank);
void pushBarrels(GameState* game, Tank* tank);
void separateBarrel(GameState* game, Barrel* barrel);
double distance(double dx, double dy);

// The enemy behaviours (behaviours.cpp): hunting the player, stealing barrels.
void huntPlayer(Tank* tank, GameState* game);
void stealBarrel(Tank* tank, GameState* game);
Tank* nearestLivePlayer(double x, double y, Tank* players);
Barrel* nearestHomeBarrel(double x, double y, Barrel* barrels);
double turnSpeedScale(double error);

// The power-up slot (powerups.cpp): spawning, ageing and collection.
PowerUp* createPowerUp(GameState* game);
PowerUp* agePowerUp(PowerUp* powerUp);
void playerCollectPowerUp(Tank* tank, GameState* game);
bool enemyCollectPowerUp(Tank* tank, GameState* game);

}  // namespace drumhold
