// modes.cpp -- the update step, the attract tick and the quit request.
#include "shell/modes.h"

#include "world/game.h"
#include "world/host.h"
#include "world/random.h"
#include "world/tick.h"

namespace drumhold {

namespace {
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr std::uint32_t kAttractPeriodMs = 100;

void (*quitPoster)() = nullptr;
}  // namespace

int running = 0;
int fullscreenWanted = 1;

void setQuitPoster(void (*postQuit)()) { quitPoster = postQuit; }

void requestQuit() {
    if (quitPoster) quitPoster();
    running = 0;
}

void updateFrame(std::uint32_t elapsedMs) {
    if (game->keys[kEscape]) requestQuit();
    if (playing)
        gameTick(elapsedMs);
    else
        attractTick(elapsedMs);
}

void attractTick(std::uint32_t elapsedMs) {
    if (elapsedMs < kAttractPeriodMs) worldHost().sleepMs(kAttractPeriodMs - elapsedMs);
    // The attract mode keeps the generator turning, so the next game's world
    // depends on how long the player watched.
    randomRaw();
    if (game->keys[kSpace]) {
        resetGame();
        playing = 1;
    }
}

}  // namespace drumhold
