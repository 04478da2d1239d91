// world.cpp -- the world's start, end and update step.
#include "world/world.h"

#include <utility>

#include "math/exactness.h"
#include "world/missiles.h"
#include "world/setup.h"
#include "world/tick.h"

namespace drumhold {

namespace {
constexpr std::uint32_t kAttractPeriodMs = 100;
}

void initWorld(GameState* game) {
    releaseGame(game);
    GameState fresh{};
    fresh.playing = game->playing;
    fresh.explosions = game->explosions;
    fresh.host = game->host;
    fresh.pushStack = std::move(game->pushStack);
    *game = std::move(fresh);

    seedRandom(game->random, 17);
    registerTankType(game, "player", &tankShape, 0.5, 15, 3.0, 1.8, 100.0);
    registerTankType(game, "grunt", &tankShape, 0.25, 150, 1.0, 1.8, 100.0);
    resetGame(game);
}

void releaseWorld(GameState* game) {
    releaseGame(game);
    releaseExplosions(game);
}

bool updateFrame(GameState* game, const KeyTable& keys, std::uint32_t elapsedMs) {
    if (game->playing)
        gameTick(game, keys, elapsedMs);
    else
        attractTick(game, keys, elapsedMs);
    return keys[vk::escape] == 0;
}

void attractTick(GameState* game, const KeyTable& keys, std::uint32_t elapsedMs) {
    pace(game, elapsedMs, kAttractPeriodMs);
    // The attract mode keeps the generator turning, so the next game's world
    // depends on how long the player watched.
    randomRaw(game->random);
    if (keys[vk::space]) {
        resetGame(game);
        game->playing = true;
    }
}

}  // namespace drumhold
