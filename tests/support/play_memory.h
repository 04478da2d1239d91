// play_memory.h -- does the game's memory grow with play?
//
// Runs the replay tool on one made-up game of heavy play (space always held, so
// every finished game restarts at once) in a child process, once for 1 minute
// and once for 10 minutes of play at 50 ticks per second, and reads each run's
// peak resident set size. A world that leaks a little with every shot or
// explosion needs more memory after 10 minutes than after 1. With address-space
// randomisation a process's peak varies by some 100-200 KiB from run to run, so
// the runs switch it off where the system allows, and each figure is the least
// of a few runs in case it does not.
#pragma once

#include <string>

namespace drumhold::testing {

constexpr int kTicksPerSecond = 50;       // one tick per 20 ms of game time
constexpr double kGrowthTolerance = 0.05;  // of the 1-minute peak

struct PlayMemory {
    long oneMinuteKiB = 0;
    long tenMinutesKiB = 0;
    std::string error;  // non-empty when a run failed; the figures are then unusable

    long growthKiB() const { return tenMinutesKiB - oneMinuteKiB; }
    // Within the tolerance of the 1-minute peak (shrinking counts as not growing).
    bool steady() const;
};

// `tracePath` is the drumhold-trace binary to run; each figure is the least peak
// of `runs` runs.
PlayMemory measurePlayMemory(const std::string& tracePath, int runs = 5);

}  // namespace drumhold::testing
