// powerups.cpp -- the single power-up: where it appears, how long it stays,
// and which tank collects its weapon modifier.
#include "world/tick.h"

#include <cmath>

#include "world/host.h"

namespace drumhold {

namespace {

constexpr double kReachBeyondRadius = 1.7;  // also the radius of the drawn disc
constexpr int kKinds = 5;                   // "ERSHM"

// Pushes a centred coordinate in [-0.5, 0.5] out to 0.25..0.75 of `scale`, so
// the power-up never lands on the central cross where the barrels stand.
float awayFromCentre(float v, double scale) {
    if (v < 0) v = static_cast<float>((v - 0.25) * scale);
    if (v > 0) v = static_cast<float>((v + 0.25) * scale);
    return v;
}

// Adds the power-up's modifier to the tank and empties the slot; true when the
// tank was near enough. A modifier already held is still used up.
bool collect(Tank* tank, GameState* game) {
    PowerUp* p = game->powerUp;
    const double dx = static_cast<double>(p->x) - tank->x;
    const double dy = static_cast<double>(p->y) - tank->y;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (!(d < tank->type->radius + kReachBeyondRadius)) return false;

    playCue(game, "power_up");
    tank->weapons |= 1 << p->kind;
    delete p;
    game->powerUp = nullptr;
    return true;
}

}  // namespace

PowerUp* createPowerUp(GameState* game) {
    auto* p = new PowerUp{};
    p->x = static_cast<float>(random01(game->random) - 0.5);
    p->y = static_cast<float>(random01(game->random) - 0.5);
    p->x = awayFromCentre(p->x, 60);
    p->y = awayFromCentre(p->y, 45);
    // Power-ups stay for a shorter time as a game goes on.
    p->ttl = static_cast<int>(500 / (game->ticks / 50000.0 + 1));
    p->kind = randomRaw(game->random) % kKinds;
    return p;
}

PowerUp* agePowerUp(PowerUp* powerUp) {
    if (!powerUp) return nullptr;
    powerUp->ttl -= 1;
    if (powerUp->ttl > 0) return powerUp;
    delete powerUp;
    return nullptr;
}

void playerCollectPowerUp(Tank* tank, GameState* game) {
    if (!tank || !game || !game->powerUp) return;
    collect(tank, game);
}

bool enemyCollectPowerUp(Tank* tank, GameState* game) {
    if (!tank || !game || !game->powerUp || tank->alive == 0) return false;
    return collect(tank, game);
}

}  // namespace drumhold
