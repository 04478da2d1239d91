// hits.cpp -- the sweep tests that destroy tanks, and the score they move.
//
// A moving point (a projectile, or a tank in motion) is sampled at the start,
// the middle and the end of its coming step; every tank of the tested list that
// one of the samples touches is destroyed, explodes where it stood and is
// respawned. The tester itself is passed over by its exact coordinates.
#include "world/missiles.h"

#include "world/setup.h"

namespace drumhold {

namespace {

constexpr int kDestroyedAlive = -100;  // about 100 ticks off the field
constexpr int kEnemyValue = 100;

struct Samples {
    float x[3], y[3];
};

Samples sweepSamples(double x, double y, double vx, double vy) {
    Samples s{};
    s.x[0] = static_cast<float>(x);
    s.y[0] = static_cast<float>(y);
    s.x[1] = static_cast<float>(x + vx * 0.5);
    s.y[1] = static_cast<float>(y + vy * 0.5);
    s.x[2] = static_cast<float>(x + vx);
    s.y[2] = static_cast<float>(y + vy);
    return s;
}

// Touch is tested against the squared distance itself (not the distance), and
// equality does not count.
bool touches(const Tank& tank, const Samples& s, double reach) {
    const double t = tank.type->radius + reach;
    for (int i = 0; i < 3; ++i) {
        const double dx = static_cast<double>(tank.x) - s.x[i];
        const double dy = static_cast<double>(tank.y) - s.y[i];
        if (t > dx * dx + dy * dy) return true;
    }
    return false;
}

void explodeTank(GameState* game, const Tank& tank, double blast) {
    explode(game, tank.x, tank.y, tank.type->radius, tank.type->debrisChance + blast);
}

}  // namespace

bool hitEnemies(double x, double y, double vx, double vy, double reach, double blast,
                GameState* game) {
    const Samples samples = sweepSamples(x, y, vx, vy);
    bool hit = false;
    for (Tank* tank = game->enemies; tank; tank = tank->next) {
        if (tank->alive <= 0) continue;
        if (!touches(*tank, samples, reach)) continue;
        if (tank->x == x && tank->y == y) continue;  // the enemy making the test

        explodeTank(game, *tank, blast);
        // A thief's barrel stays where it was dragged, free to be sought again.
        if (tank->towedBarrel) tank->towedBarrel->state = BARREL_HOME;
        respawnEnemy(tank, game);
        tank->alive = kDestroyedAlive;
        game->score += kEnemyValue;
        hit = true;
    }
    return hit;
}

bool hitPlayers(double x, double y, double vx, double vy, double reach, double blast,
                GameState* game) {
    const Samples samples = sweepSamples(x, y, vx, vy);
    bool hit = false;
    for (Tank* tank = game->players; tank; tank = tank->next) {
        if (tank->alive <= 0) continue;
        if (!touches(*tank, samples, reach)) continue;
        // Either coordinate alone is enough to pass a player over: this spares the
        // player making the test, and also a player that shares one exact
        // coordinate with the tested point.
        if (tank->x == x || tank->y == y) continue;

        explodeTank(game, *tank, blast);
        placePlayer(tank, game->random);
        tank->alive = kDestroyedAlive;
        game->score -= kEnemyValue;
        hit = true;
    }
    return hit;
}

}  // namespace drumhold
