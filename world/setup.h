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

// Frees a tank list with its missiles in flight; with `giveBackDisplayLists`
// the tanks' display lists go back to the host too.
void releaseTanks(GameState* game, Tank* list, bool giveBackDisplayLists);
// Frees the game's tanks, barrels, types and power-up and empties their fields.
void releaseGame(GameState* game, bool giveBackDisplayLists);

}  // namespace drumhold
