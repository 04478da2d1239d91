// setup.cpp -- the reset that starts every game, and the rules that place tanks:
// creating and respawning enemies, creating and placing the player, and putting
// the barrels back home. Every random draw happens in the order written here.
#include "data/tables.h"
#include "world/behaviours.h"
#include "world/game.h"
#include "world/host.h"
#include "world/random.h"

namespace drumhold {

namespace {

// A new tank gets its own display list of its type's outline.
unsigned tankList(const TankType* type) {
    return type && type->shape ? worldHost().createTankList(*type->shape) : 0;
}

}  // namespace

void resetGame() {
    GameState* g = game;
    if (!g) return;
    releaseTanks(g->players, true);
    releaseTanks(g->enemies, true);
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
    tank->displayList = tankList(type);
    tank->type = type;
    tank->next = g->enemies;
    tank->alive = 0;
    tank->missiles = nullptr;
    tank->towedBarrel = nullptr;
    tank->wanderHeading = static_cast<float>(random01() * 360);
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
    const int side = static_cast<int>(random01() * 4);
    switch (side) {
    case 0:
        tank->x = 59;
        tank->y = static_cast<float>((random01() - 0.5) * 43);
        break;
    case 1:
        tank->x = -59;
        tank->y = static_cast<float>((random01() - 0.5) * 43);
        break;
    case 2:
        tank->x = static_cast<float>((random01() - 0.5) * 58);
        tank->y = 44;
        break;
    case 3:
        tank->x = static_cast<float>((random01() - 0.5) * 58);
        tank->y = -44;
        break;
    default:
        break;
    }
    tank->heading = static_cast<float>(random01() * 360);
    tank->speed = 0;
    tank->towedBarrel = nullptr;
    tank->weapons = WEAPON_ENEMY;  // collected modifiers are lost
    tank->behaviour = random01() < 0.66 ? stealBarrel : huntPlayer;
    // Enemies that enter later in a game are quicker in every respect.
    tank->speedFactor = static_cast<float>(g->ticks / 50000.0 + 0.5);
}

Tank* createPlayer(GameState* g, const char* typeName, Behaviour behaviour) {
    TankType* type = findTankType(g, typeName);
    Tank* tank = new Tank{};
    tank->alive = 0;
    tank->colour = playerColour;
    tank->displayList = tankList(type);
    tank->type = type;
    tank->behaviour = behaviour;
    tank->next = g->players;
    tank->towedBarrel = nullptr;
    tank->wanderHeading = 0;
    tank->missiles = nullptr;
    placePlayer(tank);
    tank->reload = 0;
    tank->controls = 0;
    return tank;
}

// Anywhere in the middle half of the field, barrels included: the pushing
// rules move them apart.
void placePlayer(Tank* tank) {
    tank->x = static_cast<float>((random01() - 0.5) * 58);
    tank->y = static_cast<float>((random01() - 0.5) * 43);
    tank->heading = static_cast<float>(random01() * 360);
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

}  // namespace drumhold
