// tick.cpp -- the game tick: the order of one tick of play, the player's
// controls and the per-tick updates of the player and the enemies.
//
// The order of the steps is a rule of the game: it decides who wins a ram, who
// sees a power-up first and the order of every random draw.
#include "world/tick.h"

#include "world/host.h"
#include "world/missiles.h"

namespace drumhold {

namespace {
constexpr std::uint32_t kTickPeriodMs = 20;
}

void gameTick(GameState* g, const KeyTable& keys, std::uint32_t elapsedMs) {
    // The heartbeat quickens by 10 ticks for every barrel lost.
    const int period = g->barrelsLeft * 10 + 20;
    pace(g, elapsedMs, kTickPeriodMs);
    g->ticks += 1;
    g->thumpTimer += 1;
    if (g->thumpTimer > period) {
        g->thumpTimer -= period;  // keeps the remainder: a steady beat
        playCue(g, "thump");
    }
    readControls(g->players, keys);
    updatePlayers(g->players, g);
    runBehaviours(g->enemies, g);
    updateEnemies(g->enemies, g);
    // Each tank moves and pushes before the next one moves.
    for (Tank* t = g->players; t; t = t->next) {
        if (t->alive > 0) {
            moveTank(t);
            pushBarrels(g, t);
        }
    }
    for (Tank* t = g->enemies; t; t = t->next) {
        if (t->alive > 0) {
            moveTank(t);
            pushBarrels(g, t);
        }
    }
    updatePlayerMissiles(g->players, g);
    updateEnemyMissiles(g->enemies, g);
    updateExplosions(g);
    // The game is over, but the rest of this tick still runs.
    if (g->barrelsLeft <= 0) g->playing = false;
    // No draw at all while a power-up is out.
    if (!g->powerUp && random01(g->random) < 0.002) g->powerUp = createPowerUp(g);
    g->powerUp = agePowerUp(g->powerUp);
}

void readControls(Tank* player, const KeyTable& keys) {
    if (!player) return;
    player->controls = 0;
    if (player->alive <= 0) return;
    if (keys[controlKeys.forward]) player->controls |= CONTROL_FORWARD;
    if (keys[controlKeys.reverse]) player->controls |= CONTROL_REVERSE;
    if (keys[controlKeys.left]) player->controls |= CONTROL_LEFT;
    if (keys[controlKeys.right]) player->controls |= CONTROL_RIGHT;
    if (keys[controlKeys.fire]) player->controls |= CONTROL_FIRE;
}

void updatePlayers(Tank* players, GameState* g) {
    for (Tank* t = players; t; t = t->next) {
        if (t->alive <= 0) {
            t->alive += 1;  // back on the field when it reaches 1
            continue;
        }
        // Held in the field before this tick's movement, so a tank may stand
        // up to one step outside until the next tick.
        if (t->x > 58) t->x = 58;
        if (t->x < -58) t->x = -58;
        if (t->y > 43) t->y = 43;
        if (t->y < -43) t->y = -43;

        const TankType* type = t->type;
        const double x = t->x, y = t->y, vx = t->vx, vy = t->vy;
        const double reach = type->radius, blast = type->debrisChance;
        // The player's rams are tested before any enemy's: the player wins a ram.
        hitPlayers(x, y, vx, vy, reach, blast, g);
        hitEnemies(x, y, vx, vy, reach, blast, g);
        playerCollectPowerUp(t, g);

        // Reverse wins when both are held; with neither the speed coasts down.
        if (t->controls & CONTROL_FORWARD) t->speed = type->speed;
        if (t->controls & CONTROL_REVERSE) t->speed = static_cast<float>(type->speed * -0.5);
        if (t->controls & CONTROL_LEFT) t->heading = static_cast<float>(static_cast<double>(t->heading) + type->turnRate);
        if (t->controls & CONTROL_RIGHT) t->heading = static_cast<float>(static_cast<double>(t->heading) - type->turnRate);
        if (t->heading < 0) t->heading = static_cast<float>(t->heading + 360.0);
        if (t->heading > 360) t->heading = static_cast<float>(t->heading - 360.0);

        if (t->reload == 0 && (t->controls & CONTROL_FIRE)) {
            t->reload = type->reloadTicks;
            g->score -= 1;  // every shot costs a point
            t->missiles = fireMissiles(t->missiles, t->x, t->y, t->heading, t->weapons, 1, g->random);
            playCue(g, "shot");
        }
        if (t->reload != 0) t->reload -= 1;
    }
}

void runBehaviours(Tank* enemies, GameState* g) {
    for (Tank* t = enemies; t; t = t->next) {
        if (t->alive > 0 && t->behaviour) t->behaviour(t, g);
    }
}

void updateEnemies(Tank* enemies, GameState* g) {
    for (Tank* t = enemies; t; t = t->next) {
        if (t->alive <= 0) {
            t->alive += 1;
        } else {
            // Whoever picks up a power-up turns hunter from the next tick on.
            if (enemyCollectPowerUp(t, g)) t->behaviour = huntPlayer;
            const TankType* type = t->type;
            const double x = t->x, y = t->y, vx = t->vx, vy = t->vy;
            const double reach = type->radius, blast = type->debrisChance;
            hitEnemies(x, y, vx, vy, reach, blast, g);
            hitPlayers(x, y, vx, vy, reach, blast, g);
        }
        // The reload runs down while the tank is away, too.
        if (t->reload > 0) t->reload -= 1;
    }
}

}  // namespace drumhold
