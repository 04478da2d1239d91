// setup.h -- tank types, the reset that starts every game, the placing of
// tanks and barrels, and the release of a game's records.
#pragma once

#include "world/records.h"

namespace drumhold {

void registerTankType(GameState* game, const char* name, const Shape* shape, double speed,
                      int reloadTicks, double turnRate, double radius, double debrisChance);
// Walks the types from the head; an unknown name yields the last type of the list.
TankType* findTankType(GameState* game, const char* name);

void resetGame(GameState* game);
Tank* createEnemy(GameState* game, const char* typeName, Behaviour behaviour);
Tank* createPlayer(GameState* game, const char* typeName, Behaviour behaviour);
void respawnEnemy(Tank* tank, GameState* game);
void placePlayer(Tank* tank, Random& random);
Barrel* resetBarrels(Barrel* list);

// Frees a tank list with its missiles in flight, giving the tanks' display
// lists back to the host (which knows whether their context still lives).
void releaseTanks(GameState* game, Tank* list);
// Frees the game's tanks, barrels, types and power-up and empties their fields.
void releaseGame(GameState* game);

}  // namespace drumhold
