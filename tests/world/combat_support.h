// combat_support.h -- small helpers for the missile, hit, explosion and power-up tests.
#pragma once

#include <cstdint>

#include "world/records.h"

namespace drumhold::testing {

inline int countProjectiles(const Projectile* list) {
    int n = 0;
    for (; list; list = list->next) ++n;
    return n;
}

inline int countExplosions(const Explosion* list) {
    int n = 0;
    for (const Explosion* e = list; e; e = e->next) ++n;
    return n;
}

inline int countDebris(const Explosion* list) {
    int n = 0;
    for (const Explosion* e = list; e; e = e->next) n += countProjectiles(e->debris);
    return n;
}

// A projectile put straight into a list, for tests that drive the update by hand.
inline Projectile* pushProjectile(Projectile*& list, float x, float y, float vx, float vy,
                                  int flags = 0, int life = 150) {
    auto* p = new Projectile{};
    p->x = p->prevX = x;
    p->y = p->prevY = y;
    p->vx = vx;
    p->vy = vy;
    p->flags = flags;
    p->life = life;
    p->debrisChance = 10;
    p->next = list;
    list = p;
    return p;
}

inline void placeTank(Tank* tank, float x, float y, int alive = 1) {
    tank->x = x;
    tank->y = y;
    tank->vx = tank->vy = 0;
    tank->alive = alive;
}

// The generator state after `draws` further draws from `state`.
inline std::uint32_t stateAfter(std::uint32_t state, int draws) {
    for (int i = 0; i < draws; ++i) state = state * 214013u + 2531011u;
    return state;
}

}  // namespace drumhold::testing
