// game.h -- the world's globals, tank types, initialisation, reset and spawning.
#pragma once

#include "world/records.h"

namespace drumhold {

extern GameState* game;        // the one game state
extern Explosion* explosions;  // every explosion; survives resets
extern int playing;            // set while a game runs; cleared by the tick that ends it

// Seeds the generator with 17, replaces `game` by a fresh state on `keys` with the
// two tank types registered, and resets the world. (The shell adds the font, the
// view and the title on top of this.)
void initWorld(int* keys);
// Releases `game` and everything it owns (and the explosion list); for tests and exit.
void releaseWorld();

void registerTankType(GameState* game, const char* name, const Shape* shape, double speed,
                      int reloadTicks, double turnRate, double radius, double debrisChance);
// Walks the types from the head; an unknown name yields the last type of the list.
TankType* findTankType(GameState* game, const char* name);

void resetGame();
Tank* createEnemy(GameState* game, const char* typeName, Behaviour behaviour);
Tank* createPlayer(GameState* game, const char* typeName, Behaviour behaviour);
void respawnEnemy(Tank* tank, GameState* game);
void placePlayer(Tank* tank);
Barrel* resetBarrels(Barrel* list);
// Frees a tank list with its missiles in flight; with `giveBackDisplayLists`
// the tanks' display lists go back to the host too.
void releaseTanks(Tank* list, bool giveBackDisplayLists);

// Starts a cue through the world host; non-zero when playback started.
int playCue(GameState* game, const char* name);

}  // namespace drumhold
