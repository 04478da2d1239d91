// A long soak of the real replay tool: a made-up run of heavy play, hundreds of
// thousands of frames with games ending and restarting, must end cleanly (in the
// sanitizer build: no finding, no leak), print every frame, agree with itself
// between the hash and the full output, and really have exercised the game.
// not on Windows: it runs the real tool through the POSIX child runner
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "replay/text.h"
#include "tests/support/child_run.h"
#include "tests/support/scripts.h"

namespace drumhold::testing {
namespace {

constexpr std::uint64_t kFrames = 300000;
constexpr std::uint64_t kSeed = 0xD2A6;

// Splits streamed output into lines (without their newline).
class Lines {
public:
    template <typename Fn>
    void feed(std::string_view chunk, Fn&& onLine) {
        while (!chunk.empty()) {
            const std::size_t eol = chunk.find('\n');
            if (eol == std::string_view::npos) {
                partial_.append(chunk);
                return;
            }
            if (partial_.empty()) {
                onLine(chunk.substr(0, eol));
            } else {
                partial_.append(chunk.substr(0, eol));
                onLine(std::string_view(partial_));
                partial_.clear();
            }
            chunk.remove_prefix(eol + 1);
        }
    }
    bool finished() const { return partial_.empty(); }

private:
    std::string partial_;
};

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> out;
    while (!line.empty()) {
        const std::size_t space = line.find(' ');
        out.push_back(line.substr(0, space));
        if (space == std::string_view::npos) break;
        line.remove_prefix(space + 1);
    }
    return out;
}

bool isNumber(std::string_view s, std::uint64_t expected) { return s == std::to_string(expected); }

// What the full output showed over the whole run.
struct Summary {
    std::uint64_t frames = 0;
    std::uint64_t misnumbered = 0;  // or otherwise malformed
    std::uint64_t hashMismatches = 0;
    std::uint64_t firstMismatch = 0;
    std::uint64_t attractFrames = 0;
    int gamesStarted = 0;
    int gamesEnded = 0;
    std::uint64_t explosionFrames = 0;
    std::uint64_t debris = 0;
    std::uint64_t powerUpFrames = 0;
    unsigned weaponBits = 0;  // every modifier some tank carried at some time
    std::map<std::string, std::uint64_t, std::less<>> cues;
};

struct ToolRun {
    ChildResult result;
    double seconds = 0;
};

template <typename Fn>
ToolRun runTool(std::vector<std::string> args, Fn&& onOutput) {
    ChildOptions options;
    options.args = std::move(args);
    options.env = strictSanitizerEnv();
    options.onOutput = std::forward<Fn>(onOutput);
    const auto start = std::chrono::steady_clock::now();
    ToolRun run;
    run.result = runChild(options);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return run;
}

void expectClean(const ToolRun& run, const char* mode) {
    EXPECT_TRUE(run.result.exited && run.result.exitCode == 0) << mode << ": " << run.result.describe();
    EXPECT_EQ(run.result.err, "") << mode << ": nothing belongs on standard error";
    std::printf("soak: %llu frames, %s: %.2f s, peak RSS %ld KiB\n", static_cast<unsigned long long>(kFrames),
                mode, run.seconds, run.result.peakRssKiB);
}

class Soak : public ::testing::Test {
protected:
    std::string scriptPath;

    void SetUp() override {
        scriptPath = ::testing::TempDir() + "drumhold-soak-" + std::to_string(::getpid()) + ".script";
        const auto steps = makePlayScript({kFrames, kSeed, false});
        ASSERT_EQ(totalFrames(steps), kFrames);
        std::ofstream(scriptPath, std::ios::binary) << formatScript(steps);
    }
    void TearDown() override { std::remove(scriptPath.c_str()); }
};

TEST_F(Soak, LongHeavyPlayEndsCleanlyPrintsEveryFrameAndAgreesWithItself) {
    // Hash mode: one well-formed FRAME line per frame, frame 0 included.
    std::vector<std::uint64_t> hashes;
    hashes.reserve(kFrames + 1);
    std::uint64_t malformed = 0;
    Lines lines;
    const ToolRun hashed = runTool({DRUMHOLD_TRACE_BIN, scriptPath}, [&](std::string_view chunk) {
        lines.feed(chunk, [&](std::string_view line) {
            const auto f = fields(line);
            std::uint64_t hash = 0;
            const bool ok = f.size() == 3 && f[0] == "FRAME" && isNumber(f[1], hashes.size()) &&
                            f[2].size() == 16 &&
                            f[2].find_first_not_of("0123456789abcdef") == std::string_view::npos;
            if (ok) hash = std::stoull(std::string(f[2]), nullptr, 16);
            malformed += !ok;
            hashes.push_back(hash);
        });
    });
    expectClean(hashed, "hash output");
    EXPECT_TRUE(lines.finished()) << "the output ends in mid-line";
    EXPECT_EQ(hashes.size(), kFrames + 1);
    EXPECT_EQ(malformed, 0u);

    // Full mode, a second process: each block must hash to the FRAME line above,
    // so the two runs played the very same game.
    Summary s;
    Lines fullLines;
    std::uint64_t blockHash = replay::kFnvOffsetBasis;
    bool inBlock = false;
    int playing = 0;
    std::uint64_t lastExplosionFrame = 0;
    auto closeBlock = [&] {
        if (!inBlock) return;
        const std::uint64_t n = s.frames - 1;
        if (n >= hashes.size() || hashes[n] != blockHash) {
            if (s.hashMismatches++ == 0) s.firstMismatch = n;
        }
    };
    const ToolRun full = runTool({DRUMHOLD_TRACE_BIN, "--full", scriptPath}, [&](std::string_view chunk) {
        fullLines.feed(chunk, [&](std::string_view line) {
            const auto f = fields(line);
            if (f.empty()) {
                ++s.misnumbered;  // no line of a block is empty
                return;
            }
            if (f[0] == "frame") {
                closeBlock();
                inBlock = true;
                blockHash = replay::kFnvOffsetBasis;
                s.misnumbered += !(f.size() > 3 && isNumber(f[1], s.frames));
                ++s.frames;
                const int now = f.size() > 3 && f[3] == "1";
                s.gamesStarted += !playing && now;
                s.gamesEnded += playing && !now;
                s.attractFrames += !now;
                playing = now;
            } else if (f[0] == "explosion") {
                // One line per explosion; count the frames that have any.
                if (lastExplosionFrame != s.frames) ++s.explosionFrames;
                lastExplosionFrame = s.frames;
            } else if (f[0] == "debris") {
                ++s.debris;
            } else if (f[0] == "powerup" && f.size() > 1 && f[1] != "none") {
                ++s.powerUpFrames;
            } else if (f[0] == "tank" && f.size() > 9) {
                s.weaponBits |= static_cast<unsigned>(std::stoul(std::string(f[9]))) & 0x1f;
            } else if (f[0] == "cues" && f.size() > 1 && f[1] != "-") {
                std::string_view names = f[1];
                while (!names.empty()) {
                    const std::size_t comma = names.find(',');
                    ++s.cues[std::string(names.substr(0, comma))];
                    names.remove_prefix(comma == std::string_view::npos ? names.size() : comma + 1);
                }
            }
            blockHash = replay::fnv1a64(line, blockHash);
            blockHash = replay::fnv1a64("\n", blockHash);
        });
    });
    closeBlock();
    expectClean(full, "full output");
    EXPECT_EQ(s.frames, kFrames + 1);
    EXPECT_EQ(s.misnumbered, 0u);
    EXPECT_EQ(s.hashMismatches, 0u) << "first at frame " << s.firstMismatch;

    // What the run went through: many games, each ended by stolen barrels and
    // restarted; shots, explosions with their debris; power-ups on the field and
    // picked up, giving tanks their weapon modifiers.
    std::printf("soak: %d games started, %d ended, %llu attract frames, %llu frames with explosions, "
                "%llu debris, %llu frames with a power-up, weapon bits %#x\nsoak: cues",
                s.gamesStarted, s.gamesEnded, static_cast<unsigned long long>(s.attractFrames),
                static_cast<unsigned long long>(s.explosionFrames), static_cast<unsigned long long>(s.debris),
                static_cast<unsigned long long>(s.powerUpFrames), s.weaponBits);
    for (const auto& [name, count] : s.cues) std::printf(" %s %llu", name.c_str(), static_cast<unsigned long long>(count));
    std::printf("\n");
    EXPECT_GE(s.gamesStarted, 10);
    EXPECT_GE(s.gamesEnded, 10);
    EXPECT_GE(s.attractFrames, 100u);
    EXPECT_GE(s.cues["shot"], 10000u);
    EXPECT_GE(s.cues["explosion"], 1000u);
    EXPECT_GE(s.debris, 100000u);
    EXPECT_GE(s.cues["grab"], 100u);
    EXPECT_GE(s.powerUpFrames, 10000u);
    EXPECT_GE(s.cues["power_up"], 10u);
    EXPECT_GE(__builtin_popcount(s.weaponBits), 3);
}

}  // namespace
}  // namespace drumhold::testing
