// behaviours.cpp -- the two enemy behaviours. A hunter chases the nearest live
// player and shoots when its gun bears, or wanders while no player is on the
// field; a thief drives to the nearest free barrel, hooks it, waits, and
// ploughs it off the field in a random direction.
//
// Both only decide heading and speed (scaled by the tank's speedFactor) and act
// on barrels and missiles; the common movement step moves the tank later.
#include "world/tick.h"

#include <algorithm>
#include <cmath>

#include "math/trig.h"
#include "world/host.h"
#include "world/missiles.h"

namespace drumhold {

namespace {

constexpr float kSearchLimit = 10000;
constexpr double kHoldDistance = 2.9;    // a thief stops, and carries, this far ahead
constexpr double kHookDistance = 2.901;  // a thief hooks no farther than this
constexpr double kHookAlignment = 0.1;   // degrees
constexpr double kFireAlignment = 2;     // degrees
constexpr double kCloseEnough = 10;      // a hunter no longer drives when this near
constexpr double kExitX = 62.9, kExitY = 47.9;

struct Bearing {
    float angle;  // the heading that faces the target, (0, 360]
    float d;      // distance to the target
};

Bearing bearingFrom(const Tank* tank, double tx, double ty) {
    Bearing b;
    b.angle = bearing(tank->x, tank->y, tx, ty);
    b.d = static_cast<float>(distance(tx - tank->x, ty - tank->y));
    return b;
}

double turnStep(const Tank* tank) {
    return static_cast<double>(tank->speedFactor) * tank->type->turnRate;
}

// Turns by the shorter way, at most one step, landing exactly on the bearing.
// Either value may be raised by 360 so that they differ by at most 180; the
// heading keeps that until the final wrap.
void turnToward(Tank* tank, float& angle, double step) {
    if (std::fabs(static_cast<double>(tank->heading) - angle) > 180) {
        if (tank->heading < angle)
            tank->heading = static_cast<float>(tank->heading + 360.0);
        else
            angle = static_cast<float>(angle + 360.0);
    }
    if (angle > tank->heading)
        tank->heading = static_cast<float>(
            tank->heading + std::min(static_cast<double>(angle) - tank->heading, step));
    if (angle < tank->heading)
        tank->heading = static_cast<float>(
            tank->heading - std::min(static_cast<double>(tank->heading) - angle, step));
}

// Heading error after turning, in radians.
double headingError(const Tank* tank, float angle) {
    return (static_cast<double>(tank->heading) - angle) * kGamePi / 180;
}

void wrapHeading(Tank* tank) {
    if (tank->heading > 360) tank->heading = static_cast<float>(tank->heading - 360.0);
    if (tank->heading < 0) tank->heading = static_cast<float>(tank->heading + 360.0);
}

double scaledSpeed(const Tank* tank) {
    return static_cast<double>(tank->speedFactor) * tank->type->speed;
}

void seekBarrel(Tank* tank, GameState* game) {
    Barrel* barrel = nearestHomeBarrel(tank->x, tank->y, game->barrels);
    if (!barrel) return;  // nothing free: stand idle and coast
    Bearing b = bearingFrom(tank, barrel->x, barrel->y);
    turnToward(tank, b.angle, turnStep(tank));
    // Full speed only when facing the barrel; brake to stop 2.9 short of it
    // (and back off when nearer).
    const double facing = turnSpeedScale(headingError(tank, b.angle)) * 0.5 + 0.5;
    tank->speed = static_cast<float>(std::min(facing * scaledSpeed(tank), b.d - kHoldDistance));
    if (b.d <= kHookDistance &&
        std::fabs(static_cast<double>(b.angle) - tank->heading) < kHookAlignment) {
        playCue(game, "grab");
        tank->towedBarrel = barrel;
        tank->towDelay = static_cast<int>(100 / static_cast<double>(tank->speedFactor));
        tank->wanderHeading = static_cast<float>(random01(game->random) * 360);
        barrel->state = BARREL_TOWED;  // no other thief seeks it now
    }
}

// Turns toward the thief's random exit heading. Only the two crossings between
// the first and last quarters pass through north; any other pair is turned
// across directly, the long way round if need be.
void turnTowardWander(Tank* tank, double step) {
    const float wander = tank->wanderHeading;
    if (tank->heading > 270 && wander < 90) {
        tank->heading = static_cast<float>(tank->heading + step);
    } else if (tank->heading < 90 && wander > 270) {
        tank->heading = static_cast<float>(tank->heading - step);
    } else {
        if (tank->heading < wander) tank->heading = static_cast<float>(tank->heading + step);
        if (tank->heading > wander) tank->heading = static_cast<float>(tank->heading - step);
    }
}

// The barrel is held ahead of the tank, like a plough, until the tank's centre
// has left the field: then it is stolen.
void carryBarrel(Tank* tank, GameState* game) {
    Barrel* barrel = tank->towedBarrel;
    turnTowardWander(tank, turnStep(tank));
    tank->speed = static_cast<float>(scaledSpeed(tank));
    const SinCos h = exactSinCos(-static_cast<double>(tank->heading) * kGamePi / 180);
    barrel->x = static_cast<float>(tank->x + h.sine * kHoldDistance + tank->vx);
    barrel->y = static_cast<float>(tank->y + h.cosine * kHoldDistance + tank->vy);
    separateBarrel(game, barrel);
    if (std::fabs(tank->x) > kExitX || std::fabs(tank->y) > kExitY) {
        barrel->state = BARREL_GONE;
        tank->towedBarrel = nullptr;
        game->barrelsLeft -= 1;
    } else {
        barrel->state = BARREL_TOWED;
    }
}

}  // namespace

Tank* nearestLivePlayer(double x, double y, Tank* players) {
    Tank* nearest = nullptr;
    float best = kSearchLimit;
    for (Tank* t = players; t; t = t->next) {
        if (t->alive <= 0) continue;
        const double d = distance(t->x - x, t->y - y);
        if (d < best) {
            best = static_cast<float>(d);
            nearest = t;
        }
    }
    return nearest;
}

Barrel* nearestHomeBarrel(double x, double y, Barrel* barrels) {
    Barrel* nearest = nullptr;
    float best = kSearchLimit;
    for (Barrel* b = barrels; b; b = b->next) {
        if (b->state != BARREL_HOME) continue;
        const double d = distance(b->x - x, b->y - y);
        if (d < best) {
            best = static_cast<float>(d);
            nearest = b;
        }
    }
    return nearest;
}

// Full speed when on course, slowing to a stop at a right angle and backing up
// beyond it. An error counter-clockwise of the bearing past a right angle is
// halved; one the other way is not.
double turnSpeedScale(double error) {
    if (error > kGamePi) error = std::fabs(kGamePi - error);
    if (error > kGameHalfPi) return exactCos(error) / 2;
    return exactCos(error);
}

void huntPlayer(Tank* tank, GameState* game) {
    // A thief that has just turned hunter lets go of its barrel where it lies.
    if (tank->towedBarrel) {
        tank->towedBarrel->state = BARREL_HOME;
        tank->towedBarrel = nullptr;
    }
    const double step = turnStep(tank);
    if (Tank* target = nearestLivePlayer(tank->x, tank->y, game->players)) {
        Bearing b = bearingFrom(tank, target->x, target->y);
        turnToward(tank, b.angle, step);
        if (b.d > kCloseEnough)
            tank->speed = static_cast<float>(turnSpeedScale(headingError(tank, b.angle)) *
                                             scaledSpeed(tank));
        if (std::fabs(static_cast<double>(b.angle) - tank->heading) < kFireAlignment &&
            tank->reload == 0) {
            tank->reload =
                static_cast<int>(tank->type->reloadTicks / static_cast<double>(tank->speedFactor));
            tank->missiles = fireMissiles(tank->missiles, tank->x, tank->y, tank->heading,
                                          tank->weapons | WEAPON_ENEMY, tank->speedFactor, game->random);
            playCue(game, "shot");
        }
    } else if (random01(game->random) < 0.1) {
        tank->heading = static_cast<float>(tank->heading - step / 2);  // wander right
    } else if (random01(game->random) < 0.1) {
        tank->heading = static_cast<float>(tank->heading + step / 2);  // wander left
    } else {
        tank->speed = static_cast<float>(tank->type->speed * 0.5 * tank->speedFactor);
    }
    wrapHeading(tank);
}

void stealBarrel(Tank* tank, GameState* game) {
    if (!tank->towedBarrel)
        seekBarrel(tank, game);
    else if (tank->towDelay > 0)
        tank->towDelay -= 1;  // sits in front of the hooked barrel
    else
        carryBarrel(tank, game);
    wrapHeading(tank);
}

}  // namespace drumhold
