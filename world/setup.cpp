// setup.cpp -- the tank types, the reset that starts every game, and the rules
// that place tanks: creating and respawning enemies, creating and placing the
// player, and putting the barrels back home. Every random draw happens in the
// order written here.
#include "world/setup.h"

#include "world/host.h"
#include "world/missiles.h"
#include "world/tick.h"

namespace drumhold {

namespace {

// A new tank gets its own display list of its type's outline.
unsigned tankList(GameState* game, const TankType* type) {
    return type && type->shape && game->host ? game->host->createTankList(*type->shape) : 0;
}

}  // namespace

void registerTankType(GameState* game, const char* name, const Shape* shape, double speed,
                      int reloadTicks, double turnRate, double radius, double debrisChance) {
    TankType* type = new TankType{};
    type->name = name;
    type->shape = shape;
    type->speed = static_cast<float>(speed);
    type->reloadTicks = reloadTicks;
    type->turnRate = static_cast<float>(turnRate);
    type->radius = static_cast<float>(radius);
    type->debrisChance = static_cast<float>(debrisChance);
    type->next = game->tankTypes;
    game->tankTypes = type;
}

// Only types with a successor are compared: the last type of the list is the
// fallback for any name, so an unknown name yields it (with the registered
// pair, "player").
TankType* findTankType(GameState* game, const char* name) {
    TankType* type = game->tankTypes;
    if (!type) return nullptr;
    while (type->next) {
        if (name && type->name == name) return type;
        type = type->next;
    }
    return type;
}

void resetGame(GameState* g) {
    releaseTanks(g, g->players);
    releaseTanks(g, g->enemies);
    g->score = 0;
    g->ticks = 0;
    g->thumpTimer = 0;
    g->players = nullptr;
    g->enemies = nullptr;
    g->barrelsLeft = 18;
    g->barrels = resetBarrels(g->barrels);
    for (int i = 0; i < 3; ++i) g->enemies = createEnemy(g, "grunt", stealBarrel);
    g->players = createPlayer(g, "player", nullptr);
    delete g->powerUp;
    g->powerUp = nullptr;
}

Tank* createEnemy(GameState* g, const char* typeName, Behaviour behaviour) {
    TankType* type = findTankType(g, typeName);
    Tank* tank = new Tank{};
    tank->colour = enemyColour;
    tank->displayList = tankList(g, type);
    tank->type = type;
    tank->next = g->enemies;
    tank->alive = 0;
    tank->missiles = nullptr;
    tank->towedBarrel = nullptr;
    tank->wanderHeading = static_cast<float>(random01(g->random) * 360);
    tank->towDelay = 0;
    tank->speedFactor = 1;
    tank->behaviour = behaviour;
    // The respawn draws the place, the heading and the behaviour, replacing
    // the one passed in.
    respawnEnemy(tank, g);
    tank->weapons = 0;
    tank->reload = 0;
    return tank;
}

// Enters on the middle half of a random edge, facing a random way. A side draw
// of exactly 1 (side 4) leaves the position as it was.
void respawnEnemy(Tank* tank, GameState* g) {
    Random& random = g->random;
    const int side = static_cast<int>(random01(random) * 4);
    switch (side) {
    case 0:
        tank->x = 59;
        tank->y = static_cast<float>((random01(random) - 0.5) * 43);
        break;
    case 1:
        tank->x = -59;
        tank->y = static_cast<float>((random01(random) - 0.5) * 43);
        break;
    case 2:
        tank->x = static_cast<float>((random01(random) - 0.5) * 58);
        tank->y = 44;
        break;
    case 3:
        tank->x = static_cast<float>((random01(random) - 0.5) * 58);
        tank->y = -44;
        break;
    default:
        break;
    }
    tank->heading = static_cast<float>(random01(random) * 360);
    tank->speed = 0;
    tank->towedBarrel = nullptr;
    tank->weapons = WEAPON_ENEMY;  // collected modifiers are lost
    tank->behaviour = random01(random) < 0.66 ? stealBarrel : huntPlayer;
    // Enemies that enter later in a game are quicker in every respect.
    tank->speedFactor = static_cast<float>(g->ticks / 50000.0 + 0.5);
}

Tank* createPlayer(GameState* g, const char* typeName, Behaviour behaviour) {
    TankType* type = findTankType(g, typeName);
    Tank* tank = new Tank{};
    tank->alive = 0;
    tank->colour = playerColour;
    tank->displayList = tankList(g, type);
    tank->type = type;
    tank->behaviour = behaviour;
    tank->next = g->players;
    tank->towedBarrel = nullptr;
    tank->wanderHeading = 0;
    tank->missiles = nullptr;
    placePlayer(tank, g->random);
    tank->reload = 0;
    tank->controls = 0;
    return tank;
}

// Anywhere in the middle half of the field, barrels included: the pushing
// rules move them apart.
void placePlayer(Tank* tank, Random& random) {
    tank->x = static_cast<float>((random01(random) - 0.5) * 58);
    tank->y = static_cast<float>((random01(random) - 0.5) * 43);
    tank->heading = static_cast<float>(random01(random) * 360);
    tank->weapons = 0;  // power-ups last until the tank is destroyed
    tank->speed = 0;
}

// The first reset makes the 18 barrels (each inserted at the head); later
// resets put the same records back, the k-th record of the list on the k-th
// home position, stolen ones included.
Barrel* resetBarrels(Barrel* list) {
    if (!list) {
        for (const BarrelHome& home : barrelLayout) list = new Barrel{home.x, home.y, BARREL_HOME, list};
        return list;
    }
    Barrel* b = list;
    for (const BarrelHome& home : barrelLayout) {
        if (!b) break;
        b->x = home.x;
        b->y = home.y;
        b->state = BARREL_HOME;
        b = b->next;
    }
    return list;
}

void releaseTanks(GameState* game, Tank* list) {
    while (list) {
        Tank* next = list->next;
        releaseProjectiles(list->missiles);
        if (game->host) game->host->releaseTankList(list->displayList);
        delete list;
        list = next;
    }
}

void releaseGame(GameState* game) {
    releaseTanks(game, game->players);
    releaseTanks(game, game->enemies);
    game->players = game->enemies = nullptr;
    for (Barrel* b = game->barrels; b;) {
        Barrel* next = b->next;
        delete b;
        b = next;
    }
    game->barrels = nullptr;
    for (TankType* t = game->tankTypes; t;) {
        TankType* next = t->next;
        delete t;
        t = next;
    }
    game->tankTypes = nullptr;
    delete game->powerUp;
    game->powerUp = nullptr;
}

}  // namespace drumhold
