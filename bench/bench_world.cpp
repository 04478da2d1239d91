// bench_world.cpp -- how fast the world ticks and the replay tool traces.
//
// Plays one fixed, fire-heavy scripted game (space, then long runs of held fire
// while turning and driving; space stays held so a finished game restarts at
// once) and reports world-only ticks per second with the slowest single tick,
// then the replay tool's frames per second in hash mode, output discarded.
//
//   bench_world [--frames N] [--print-script]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "replay/script.h"
#include "replay/session.h"
#include "tools/trace_run.h"

namespace {

using namespace drumhold::replay;
using namespace drumhold::tools;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t kDefaultFrames = 100000;
constexpr int kRepeats = 3;
constexpr double kWorldAim = 1000000;
constexpr double kReplayAim = 100000;

// One 1000-frame round of driving about with the fire key held.
constexpr ScriptStep kRound[] = {
    {200, KEY_FIRE | KEY_UP},
    {60, KEY_FIRE | KEY_LEFT},
    {240, KEY_FIRE | KEY_UP | KEY_RIGHT},
    {100, KEY_FIRE | KEY_DOWN},
    {150, KEY_FIRE},
    {90, KEY_FIRE | KEY_UP | KEY_LEFT},
    {160, KEY_FIRE | KEY_DOWN | KEY_RIGHT},
};

std::vector<ScriptStep> benchScript(std::uint64_t frames) {
    std::vector<ScriptStep> steps{{1, KEY_SPACE}};
    std::uint64_t total = 1;
    while (total < frames) {
        for (ScriptStep step : kRound) {
            step.keys |= KEY_SPACE;
            step.count = static_cast<std::uint32_t>(std::min<std::uint64_t>(step.count, frames - total));
            if (step.count == 0) break;
            steps.push_back(step);
            total += step.count;
        }
    }
    return steps;
}

struct WorldRun {
    double seconds;
    double worstTickSeconds;
};

WorldRun runWorld(const std::vector<ScriptStep>& steps) {
    Session session;
    session.init();
    double worst = 0;
    const auto start = Clock::now();
    auto before = start;
    for (const ScriptStep& step : steps) {
        for (std::uint32_t i = 0; i < step.count; ++i) {
            session.step(step.keys);
            const auto after = Clock::now();
            worst = std::max(worst, std::chrono::duration<double>(after - before).count());
            before = after;
        }
    }
    return {std::chrono::duration<double>(before - start).count(), worst};
}

double runReplay(const std::string& script, std::size_t& bytes) {
    bytes = 0;
    ScriptReader reader(script);
    const auto start = Clock::now();
    runTrace(reader, TraceOptions{}, [&](std::string_view chunk) {
        bytes += chunk.size();
        return true;
    });
    return std::chrono::duration<double>(Clock::now() - start).count();
}

const char* verdict(double rate, double aim) { return rate >= aim ? "ok" : "BELOW AIM"; }

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t frames = kDefaultFrames;
    bool print = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--print-script") == 0) {
            print = true;
        } else if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
            frames = std::strtoull(argv[++i], nullptr, 10);
            if (frames < 2) frames = 2;
        } else {
            std::fprintf(stderr, "usage: bench_world [--frames N] [--print-script]\n");
            return 2;
        }
    }
    const auto steps = benchScript(frames);
    const std::string script = formatScript(steps);
    if (print) {
        std::fputs(script.c_str(), stdout);
        return 0;
    }

    // Best of a few runs for the rates: the machine is shared, and the fastest
    // run is the one least disturbed. The worst tick is the worst over all runs.
    WorldRun world{1e30, 0};
    double replaySeconds = 1e30;
    std::size_t bytes = 0;
    for (int r = 0; r < kRepeats; ++r) {
        WorldRun run = runWorld(steps);
        world.seconds = std::min(world.seconds, run.seconds);
        world.worstTickSeconds = std::max(world.worstTickSeconds, run.worstTickSeconds);
        replaySeconds = std::min(replaySeconds, runReplay(script, bytes));
    }
    const double n = static_cast<double>(frames);
    const double worldRate = n / world.seconds;
    const double replayRate = n / replaySeconds;
    std::printf("world    %llu ticks in %.3f s: %10.0f ticks/s  (aim %.0f: %s), worst tick %.3f ms\n",
                static_cast<unsigned long long>(frames), world.seconds, worldRate, kWorldAim,
                verdict(worldRate, kWorldAim), world.worstTickSeconds * 1000);
    std::printf("replay   %llu frames in %.3f s: %10.0f frames/s (aim %.0f: %s), hash mode, %zu bytes\n",
                static_cast<unsigned long long>(frames), replaySeconds, replayRate, kReplayAim,
                verdict(replayRate, kReplayAim), bytes);
    return 0;
}
