// bench_memory.cpp -- does the game's memory grow with play?
//
// Runs the replay tool (a child process per run) on the same made-up game of
// heavy play for 1 minute and for 10 minutes of game time and compares the two
// peak resident set sizes. Reported, not asserted: the soak tests assert it.
//
//   bench_memory [--trace PATH]    (default: the drumhold-trace of this build)
#include <cstdio>
#include <cstring>
#include <string>

#include "tests/support/play_memory.h"

int main(int argc, char** argv) {
    std::string trace = DRUMHOLD_TRACE_BIN;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--trace") == 0 && i + 1 < argc) {
            trace = argv[++i];
        } else {
            std::fprintf(stderr, "usage: bench_memory [--trace PATH]\n");
            return 2;
        }
    }

    const drumhold::testing::PlayMemory m = drumhold::testing::measurePlayMemory(trace);
    if (!m.error.empty()) {
        std::fprintf(stderr, "bench_memory: %s\n", m.error.c_str());
        return 1;
    }
    const double percent = m.oneMinuteKiB > 0 ? 100.0 * m.growthKiB() / m.oneMinuteKiB : 0.0;
    std::printf("memory   peak RSS after 1 min of play: %ld KiB, after 10 min: %ld KiB (growth %ld KiB, %+.1f%%): %s\n",
                m.oneMinuteKiB, m.tenMinutesKiB, m.growthKiB(), percent,
                m.steady() ? "does not grow" : "GROWS");
    return 0;
}
