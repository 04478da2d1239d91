// game.cpp -- the world's globals, the tank-type registry and the world's
// initialisation and release.
#include "world/game.h"

#include "data/tables.h"
#include "world/hits.h"
#include "world/host.h"
#include "world/missiles.h"
#include "world/random.h"

namespace drumhold {

GameState* game = nullptr;
Explosion* explosions = nullptr;
int playing = 0;

// The display lists go back to the host only while the context that made them
// is still current.
void releaseTanks(Tank* list, bool giveBackDisplayLists) {
    while (list) {
        Tank* next = list->next;
        releaseProjectiles(list->missiles);
        if (giveBackDisplayLists) worldHost().releaseTankList(list->displayList);
        delete list;
        list = next;
    }
}

namespace {

void releaseGameState(GameState* state, bool giveBackDisplayLists) {
    if (!state) return;
    releaseTanks(state->players, giveBackDisplayLists);
    releaseTanks(state->enemies, giveBackDisplayLists);
    for (Barrel* b = state->barrels; b;) {
        Barrel* next = b->next;
        delete b;
        b = next;
    }
    for (TankType* t = state->tankTypes; t;) {
        TankType* next = t->next;
        delete t;
        t = next;
    }
    delete state->powerUp;
    delete state;
}

}  // namespace

void initWorld(int* keys) {
    seedRandom(17);
    // A new world comes with a new window: the old window's context has taken
    // the old tanks' display lists with it, so only the memory is freed here.
    // Explosions in flight belong to no game and carry on.
    releaseGameState(game, false);
    game = new GameState{};
    game->keys = keys;
    registerTankType(game, "player", &tankShape, 0.5, 15, 3.0, 1.8, 100.0);
    registerTankType(game, "grunt", &tankShape, 0.25, 150, 1.0, 1.8, 100.0);
    game->barrels = nullptr;
    game->players = nullptr;
    game->enemies = nullptr;
    resetGame();
}

void releaseWorld() {
    releaseGameState(game, true);
    game = nullptr;
    releaseExplosions();
    explosions = nullptr;
}

void registerTankType(GameState* state, const char* name, const Shape* shape, double speed,
                      int reloadTicks, double turnRate, double radius, double debrisChance) {
    TankType* type = new TankType{};
    type->name = name;
    type->shape = shape;
    type->speed = static_cast<float>(speed);
    type->reloadTicks = reloadTicks;
    type->turnRate = static_cast<float>(turnRate);
    type->radius = static_cast<float>(radius);
    type->debrisChance = static_cast<float>(debrisChance);
    type->next = state->tankTypes;
    state->tankTypes = type;
}

// Only types with a successor are compared: the last type of the list is the
// fallback for any name, so an unknown name yields it (with the registered
// pair, "player").
TankType* findTankType(GameState* state, const char* name) {
    TankType* type = state->tankTypes;
    if (!type) return nullptr;
    while (type->next) {
        if (name && type->name == name) return type;
        type = type->next;
    }
    return type;
}

int playCue(GameState*, const char* name) { return worldHost().playCue(name); }

}  // namespace drumhold
