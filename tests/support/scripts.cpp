// scripts.cpp -- the made-up game drawn from splitmix64: runs of driving,
// firing and space, written as replay script steps; and whole scripts read
// through the replay's own reader.
#include "tests/support/scripts.h"

#include <algorithm>
#include <iterator>

namespace drumhold::testing {

using namespace replay;

namespace {

// splitmix64: small, fast and the same everywhere, unlike the standard
// distributions whose results vary between libraries.
class Draws {
public:
    explicit Draws(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform enough in [lo, hi] for the small ranges used here.
    std::uint32_t between(std::uint32_t lo, std::uint32_t hi) {
        return lo + static_cast<std::uint32_t>(next() % (hi - lo + 1));
    }
    bool percent(unsigned p) { return next() % 100 < p; }

private:
    std::uint64_t state_;
};

// Driving about: forward most, turning on the spot and backing up less, now and
// then nothing or both directions of one axis at once.
constexpr unsigned kMoves[] = {
    KEY_UP, KEY_UP, KEY_UP,
    KEY_UP | KEY_LEFT, KEY_UP | KEY_LEFT, KEY_UP | KEY_RIGHT, KEY_UP | KEY_RIGHT,
    KEY_LEFT, KEY_RIGHT, KEY_DOWN, KEY_DOWN | KEY_LEFT, KEY_DOWN | KEY_RIGHT,
    0, KEY_UP | KEY_DOWN, KEY_LEFT | KEY_RIGHT,
};

}  // namespace

std::vector<ScriptStep> makePlayScript(const PlayScriptOptions& options) {
    std::vector<ScriptStep> steps;
    if (options.frames == 0) return steps;
    steps.push_back({1, KEY_SPACE});
    std::uint64_t total = 1;
    Draws draws(options.seed);
    while (total < options.frames) {
        ScriptStep step{};
        step.count = draws.percent(15) ? draws.between(1, 6) : draws.between(20, 320);
        step.count = static_cast<std::uint32_t>(std::min<std::uint64_t>(step.count, options.frames - total));
        step.keys = kMoves[draws.next() % std::size(kMoves)];
        if (draws.percent(85)) step.keys |= KEY_FIRE;
        if (options.spaceAlways || draws.percent(75)) step.keys |= KEY_SPACE;
        steps.push_back(step);
        total += step.count;
    }
    return steps;
}

bool parseScript(std::string_view text, std::vector<ScriptStep>& steps, ScriptError& error) {
    steps.clear();
    ScriptReader reader(text);
    ScriptStep step;
    while (reader.next(step)) steps.push_back(step);
    error = reader.error();
    return !reader.failed();
}

std::uint64_t totalFrames(const std::vector<ScriptStep>& steps) {
    std::uint64_t total = 0;
    for (const ScriptStep& step : steps) total += step.count;
    return total;
}

}  // namespace drumhold::testing
