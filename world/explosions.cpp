// explosions.cpp -- bursts of debris, their per-tick update and release.
//
// An explosion is 15 fragments flying outward for a few ticks. Fragments are
// projectiles: they strike tanks like missiles, and a rare explosive one bursts
// again when its life ends, so explosions can chain.
#include "world/missiles.h"

#include "math/trig.h"
#include "world/host.h"

namespace drumhold {

namespace {

constexpr int kFragments = 15;
constexpr float kPlainDebrisChance = 1;
constexpr float kExplosiveDebrisChance = 10;

// Six draws, in the order r, a, s, d, life, explosive test. The angles here
// are used with a positive sign, unlike headings.
Projectile* makeFragment(Random& random, double x, double y, double radius, double chance) {
    auto* f = new Projectile{};
    const float r = static_cast<float>(random01(random) * radius);
    const float a = static_cast<float>(random01(random) * 360);
    const float s = static_cast<float>(random01(random));
    const double d = random01(random) * 360;
    int life = static_cast<int>(random01(random) * 150 * 0.125);
    const bool explosive = random01(random) < chance * 0.0001;

    const SinCos place = exactSinCos(a * kGamePi / 180), course = exactSinCos(d * kGamePi / 180);
    f->x = static_cast<float>(x + place.sine * r);
    f->y = static_cast<float>(y + place.cosine * r);
    f->prevX = static_cast<float>(x);
    f->prevY = static_cast<float>(y);
    f->vx = static_cast<float>(course.sine * s * 0.35);
    f->vy = static_cast<float>(course.cosine * s * 0.35);
    f->debrisChance = kPlainDebrisChance;
    if (explosive) {
        life /= 2;
        f->flags = WEAPON_EXPLOSIVE;
        f->vx *= 2;
        f->vy *= 2;
        f->debrisChance = kExplosiveDebrisChance;
    }
    f->life = life;
    return f;
}

}  // namespace

Explosion* explode(GameState* game, double x, double y, double radius, double chance) {
    playCue(game, "explosion");
    auto* explosion = new Explosion{};
    for (int i = 0; i < kFragments; ++i) {
        Projectile* fragment = makeFragment(game->random, x, y, radius, chance);
        fragment->next = explosion->debris;
        explosion->debris = fragment;
    }
    explosion->next = game->explosions;
    game->explosions = explosion;
    return explosion;
}

void updateExplosions(GameState* game) {
    Explosion* previous = nullptr;
    Explosion* e = game->explosions;
    while (e) {
        e->live = updateProjectiles(e->debris, game);
        Explosion* next = e->next;
        if (e->live != 0) {
            previous = e;
        } else {
            // Explosions set off during this walk went in at the head, ahead of
            // `e`; they stay and are first updated next tick. When `e` had no
            // predecessor before, such a newcomer may be its predecessor now.
            if (!previous) {
                Explosion* before = nullptr;
                for (Explosion* walk = game->explosions; walk != e; walk = walk->next) before = walk;
                if (before)
                    before->next = next;
                else
                    game->explosions = next;
            } else {
                previous->next = next;
            }
            delete e;
        }
        e = next;
    }
}

void releaseExplosions(GameState* game) {
    while (game->explosions) {
        Explosion* next = game->explosions->next;
        releaseProjectiles(game->explosions->debris);
        delete game->explosions;
        game->explosions = next;
    }
}

}  // namespace drumhold
