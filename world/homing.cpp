// homing.cpp -- target choice and steering of homing projectiles.
#include "world/missiles.h"

#include <cmath>

#include "math/trig.h"

namespace drumhold {

namespace {

constexpr double kTargetCone = 15;  // degrees either side of the heading
constexpr double kMaxTurn = 1;      // degrees per tick

// Angle between heading h and bearing b, the short way round (0..180).
double bearingError(double h, double b) {
    double a = std::fabs(h - b);
    if (a > 180) a = 360 - a;
    return a;
}

}  // namespace

float bearing(double px, double py, double qx, double qy) {
    float b = static_cast<float>(exactAtan2(qy - py, qx - px) * 180 / kGamePi + 270);
    if (b > 360) b = static_cast<float>(b - 360.0);
    return b;
}

Tank* homingTarget(const Projectile& projectile, const GameState* game) {
    const double h = projectile.heading;
    if (projectile.flags & WEAPON_ENEMY) {
        // Enemy missiles chase the player even while it waits to come back.
        Tank* player = game->players;
        if (!player) return nullptr;
        const double b = bearing(projectile.x, projectile.y, player->x, player->y);
        return bearingError(h, b) < kTargetCone ? player : nullptr;
    }
    // A destroyed enemy counting up (alive < 0) already stands at its respawn
    // place and may be chosen; one at exactly 0 may not.
    Tank* target = nullptr;
    double best = kTargetCone;
    for (Tank* enemy = game->enemies; enemy; enemy = enemy->next) {
        if (enemy->alive == 0) continue;
        const double b = bearing(projectile.x, projectile.y, enemy->x, enemy->y);
        const double a = bearingError(h, b);
        if (a < best) {  // strict: on a tie the earlier enemy stays
            target = enemy;
            best = a;
        }
    }
    return target;
}

void steerProjectile(Projectile& projectile, const GameState* game) {
    const Tank* target = homingTarget(projectile, game);
    if (!target) return;

    double h = projectile.heading;
    double b = bearing(projectile.x, projectile.y, target->x, target->y);
    // Lift the smaller of the two by a turn so the comparison takes the short way.
    if (std::fabs(h - b) > 180) {
        if (h < b)
            h += 360;
        else
            b += 360;
    }
    // The heading is never wrapped: turns may carry it below 0 or above 360.
    if (b > h)
        projectile.heading = static_cast<float>(projectile.heading + std::fmin(b - h, kMaxTurn));
    else if (b < h)
        projectile.heading = static_cast<float>(projectile.heading - std::fmin(h - b, kMaxTurn));

    const SinCos d = exactSinCos(-static_cast<double>(projectile.heading) * kGamePi / 180);
    projectile.vx = static_cast<float>(projectile.speed * d.sine);
    projectile.vy = static_cast<float>(projectile.speed * d.cosine);
}

}  // namespace drumhold
