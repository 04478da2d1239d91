// movement.cpp -- the movement step of a tank and the pushing of barrels, by
// tanks and by each other.
#include "world/tick.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "math/trig.h"

namespace drumhold {

namespace {

constexpr double kBarrelSpacing = 2;  // barrels push each other while nearer than this

// What share of a push along the line of centres each side takes. A free
// barrel gives way more than a towed one, which is held by its thief; a tank
// pushing a free barrel is held back less than one that runs into a towed one.
double barrelShare(const Barrel* b) { return b->state == BARREL_TOWED ? 0.01 : 0.1; }
double tankShare(const Barrel* b) { return b->state == BARREL_TOWED ? 0.1 : 0.02; }

// `pushed` moves by pushedShare of (dx, dy), `pusher` back by pusherShare of it.
// False when neither moved: coincident centres (or ones a few units in the last
// place apart) cannot be pushed apart, and the pair is left as it is.
bool shove(float& pusherX, float& pusherY, double pusherShare, float& pushedX, float& pushedY,
           double pushedShare, double dx, double dy) {
    const float ax = pusherX, ay = pusherY, bx = pushedX, by = pushedY;
    pushedX = static_cast<float>(pushedX + dx * pushedShare);
    pushedY = static_cast<float>(pushedY + dy * pushedShare);
    pusherX = static_cast<float>(pusherX - dx * pusherShare);
    pusherY = static_cast<float>(pusherY - dy * pusherShare);
    return !(pusherX == ax && pusherY == ay && pushedX == bx && pushedY == by);
}

}  // namespace

double distance(double dx, double dy) { return std::sqrt(dx * dx + dy * dy); }

void moveTank(Tank* tank) {
    const SinCos a = exactSinCos((-static_cast<double>(tank->heading) / 180) * kGamePi);
    tank->vx = static_cast<float>(a.sine * tank->speed);
    tank->vy = static_cast<float>(a.cosine * tank->speed);
    tank->x = static_cast<float>(static_cast<double>(tank->x) + tank->vx);
    tank->y = static_cast<float>(static_cast<double>(tank->y) + tank->vy);
    // A speed not asked for again coasts down geometrically.
    tank->speed = static_cast<float>(tank->speed / 1.1);
}

// The tank shoves each barrel it overlaps along the line of centres and is held
// back a little; a towed barrel barely moves and knocks the tank back instead.
void pushBarrels(GameState* game, Tank* tank) {
    if (!game || !tank) return;
    const double reach = static_cast<double>(tank->type->radius) + 1;
    for (Barrel* b = game->barrels; b; b = b->next) {
        if (b->state == BARREL_GONE) continue;
        while (distance(static_cast<double>(tank->x) - b->x, static_cast<double>(tank->y) - b->y) <
               reach) {
            // The line of centres in float here (between barrels in double).
            const float dx = b->x - tank->x;
            const float dy = b->y - tank->y;
            if (!shove(tank->x, tank->y, tankShare(b), b->x, b->y, barrelShare(b), dx, dy)) break;
            separateBarrel(game, b);
        }
    }
}

// Barrel `a` shoves apart every barrel within reach, and each shove spreads
// through the cluster (first from the shoved barrel, then from `a`) before the
// pair is tested again. The nesting is kept on an explicit stack, so a pile-up
// of any size cannot exhaust the call stack; the pushes happen in the same
// order as they would in the nested calls.
void separateBarrel(GameState* game, Barrel* barrel) {
    if (!game || !barrel) return;
    std::vector<PushFrame>& stack = game->pushStack;
    const std::size_t base = stack.size();
    stack.push_back({barrel, game->barrels, 0, 0, PushFrame::kNextPair});
    while (stack.size() > base) {
        PushFrame& f = stack.back();
        switch (f.phase) {
        case PushFrame::kNextPair:
            if (!f.b) {
                stack.pop_back();
                break;
            }
            if (f.b == f.a || f.b->state == BARREL_GONE) {
                f.b = f.b->next;
                break;
            }
            f.fb = barrelShare(f.b);
            f.fa = barrelShare(f.a);
            f.phase = PushFrame::kTestPair;
            [[fallthrough]];
        case PushFrame::kTestPair: {
            Barrel* a = f.a;
            Barrel* b = f.b;
            const bool apart =
                !(distance(static_cast<double>(a->x) - b->x, static_cast<double>(a->y) - b->y) <
                  kBarrelSpacing);
            if (apart) {
                f.b = b->next;
                f.phase = PushFrame::kNextPair;
                break;
            }
            const double dx = static_cast<double>(b->x) - a->x;
            const double dy = static_cast<double>(b->y) - a->y;
            if (!shove(a->x, a->y, f.fa, b->x, b->y, f.fb, dx, dy)) {
                f.b = b->next;
                f.phase = PushFrame::kNextPair;
                break;
            }
            f.phase = PushFrame::kAfterPushedB;
            stack.push_back({b, game->barrels, 0, 0, PushFrame::kNextPair});
            break;  // `f` may dangle from here on
        }
        case PushFrame::kAfterPushedB: {
            f.phase = PushFrame::kTestPair;  // once `a` has spread its push too
            Barrel* a = f.a;
            stack.push_back({a, game->barrels, 0, 0, PushFrame::kNextPair});
            break;
        }
        }
    }
}

}  // namespace drumhold
