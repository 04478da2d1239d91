// missiles.cpp -- firing a shot and the per-tick update of every projectile.
//
// Missiles and explosion debris are the same record and share one update: move,
// bounce or leave the field, age, home, burst at the end of an explosive life,
// test against the tanks, and die on a hit.
#include "world/missiles.h"

#include "math/trig.h"

namespace drumhold {

namespace {

constexpr int kMissileLife = 150;
constexpr float kMissileDebrisChance = 10;  // chance of the burst at the end of an explosive life
constexpr double kFieldHalfWidth = 60;
constexpr double kFieldHalfHeight = 45;

struct Vec {
    double x, y;
};

// Unit vector of a heading: 0 faces +y, 90 faces -x.
Vec unitVector(double heading) {
    const SinCos a = exactSinCos(-heading * kGamePi / 180);
    return {a.sine, a.cosine};
}

int missilesPerShot(int flags) {
    int count = 1;
    if (flags & WEAPON_SCATTER) count *= 3;
    if (flags & WEAPON_MULTI) count *= 3;
    return count;
}

void setVelocityAlongHeading(Projectile& p) {
    const Vec u = unitVector(p.heading);
    p.vx = static_cast<float>(u.x);
    p.vy = static_cast<float>(u.y);
}

// Bounces off the field edges and always takes the second step of a rebounding
// projectile. A bounce gives a velocity of length 1 whatever the speed field says.
void rebound(Projectile& p, bool outX, bool outY) {
    if (outX) {
        p.heading = static_cast<float>(360 - static_cast<double>(p.heading));
        setVelocityAlongHeading(p);
    }
    if (outY) {
        p.heading = static_cast<float>(180 - static_cast<double>(p.heading));
        setVelocityAlongHeading(p);
    }
    p.x += p.vx;
    p.y += p.vy;
}

// Explosive projectiles reach further toward the side they are aimed at: the
// player for enemy missiles, the enemies for everything else.
bool hitTanks(const Projectile& p, GameState* game) {
    const double x = p.x, y = p.y, vx = p.vx, vy = p.vy;
    if (!(p.flags & WEAPON_EXPLOSIVE)) {
        const bool first = hitPlayers(x, y, vx, vy, 0.1, 0.1, game);
        const bool second = hitEnemies(x, y, vx, vy, 0.1, 0.1, game);
        return first || second;
    }
    if (p.flags & WEAPON_ENEMY) {
        const bool first = hitEnemies(x, y, vx, vy, 0.1, 0.1, game);
        const bool second = hitPlayers(x, y, vx, vy, 5.0, 0.5, game);
        return first || second;
    }
    const bool first = hitPlayers(x, y, vx, vy, 0.1, 0.1, game);
    const bool second = hitEnemies(x, y, vx, vy, 5.0, 0.5, game);
    return first || second;
}

// One tick of one projectile; false when it has died.
bool updateProjectile(Projectile& p, GameState* game) {
    bool alive = true;

    p.prevX = p.x;
    p.prevY = p.y;
    p.x += p.vx;
    p.y += p.vy;

    // Exactly on an edge is still inside.
    const bool outX = p.x < -kFieldHalfWidth || p.x > kFieldHalfWidth;
    const bool outY = p.y < -kFieldHalfHeight || p.y > kFieldHalfHeight;
    if (p.flags & WEAPON_REBOUND)
        rebound(p, outX, outY);
    else if (outX || outY)
        alive = false;

    if (p.life <= 0) alive = false;
    p.life -= 1;

    if (p.flags & WEAPON_HOMING) steerProjectile(p, game);

    // A projectile that has just died still bursts and strikes in this tick.
    if ((p.flags & WEAPON_EXPLOSIVE) && p.life == 0) explode(game, p.x, p.y, 0, p.debrisChance);

    if (hitTanks(p, game)) {
        p.x = static_cast<float>(p.x + p.vx / 2.0);
        p.y = static_cast<float>(p.y + p.vy / 2.0);
        explode(game, p.x, p.y, 1, 10);
        alive = false;
    }
    return alive;
}

}  // namespace

Projectile* fireMissiles(Projectile* list, double x, double y, double heading, int flags,
                         double speed, Random& random) {
    const int count = missilesPerShot(flags);
    const Vec toMuzzle = unitVector(heading);
    const double muzzleX = x + toMuzzle.x;
    const double muzzleY = y + toMuzzle.y;

    for (int i = 0; i < count; ++i) {
        auto* missile = new Projectile{};

        // A scatter shot always makes both draws, even when homing or an enemy's
        // speed then overrides the candidate, so the generator advances the same.
        double candidate = 1.0;
        double spread = 0;
        if (flags & WEAPON_SCATTER) {
            candidate = random01(random) * 0.2 + 0.8;
            spread = (random01(random) - 0.5) * 5;
        }
        double missileSpeed = candidate;
        if (flags & WEAPON_ENEMY)
            missileSpeed = static_cast<float>(speed);
        else if (flags & WEAPON_HOMING)
            missileSpeed = 0.8;

        const double d = heading + spread;
        const Vec u = unitVector(d);
        missile->x = static_cast<float>(muzzleX + u.x);
        missile->y = static_cast<float>(muzzleY + u.y);
        missile->prevX = static_cast<float>(muzzleX);
        missile->prevY = static_cast<float>(muzzleY);
        missile->vx = static_cast<float>(missileSpeed * u.x);
        missile->vy = static_cast<float>(missileSpeed * u.y);
        missile->heading = static_cast<float>(d);
        missile->speed = static_cast<float>(missileSpeed);
        missile->flags = flags;
        missile->life = kMissileLife;
        missile->debrisChance = kMissileDebrisChance;

        missile->next = list;
        list = missile;
    }
    return list;
}

int updateProjectiles(Projectile*& list, GameState* game) {
    int left = 0;
    Projectile* previous = nullptr;
    Projectile* p = list;
    while (p) {
        Projectile* next = p->next;
        if (updateProjectile(*p, game)) {
            ++left;
            previous = p;
        } else {
            if (previous)
                previous->next = next;
            else
                list = next;
            delete p;
        }
        p = next;
    }
    return left;
}

void updatePlayerMissiles(Tank* players, GameState* game) {
    for (Tank* tank = players; tank; tank = tank->next) updateProjectiles(tank->missiles, game);
}

// Every tank, on the field or not: missiles fly on after their shooter is destroyed.
void updateEnemyMissiles(Tank* enemies, GameState* game) {
    for (Tank* tank = enemies; tank; tank = tank->next) updateProjectiles(tank->missiles, game);
}

void releaseProjectiles(Projectile* list) {
    while (list) {
        Projectile* next = list->next;
        delete list;
        list = next;
    }
}

}  // namespace drumhold
