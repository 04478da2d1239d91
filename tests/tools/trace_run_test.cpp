// Running the real world headless: what frame 0 and the attract frames hold,
// that the hash lines are the hashes of the full blocks, the frame selection,
// and that a failing output stops the run.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/trace_run.h"
#include "replay/script.h"
#include "replay/text.h"

namespace drumhold::tools {
namespace {

using namespace replay;

std::string trace(const std::string& text, TraceOptions options = {}) {
    std::string out;
    int chunks = 0;
    ScriptReader reader(text);
    EXPECT_EQ(runTrace(reader, options, [&](std::string_view chunk) {
                  out += chunk;
                  ++chunks;
                  return true;
              }).result,
              TraceOutcome::Done)
        << reader.error().message;
    EXPECT_GE(chunks, out.empty() ? 0 : 1);
    return out;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

// The blocks of a full trace, each with its final newline.
std::vector<std::string> blocks(const std::string& full) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < full.size()) {
        std::size_t next = full.find("\nframe ", start);
        std::size_t end = next == std::string::npos ? full.size() : next + 1;
        out.push_back(full.substr(start, end - start));
        start = end;
    }
    return out;
}

std::uint32_t field(const std::string& header, const std::string& name) {
    std::size_t at = header.find(" " + name + " ");
    EXPECT_NE(at, std::string::npos) << name;
    return static_cast<std::uint32_t>(std::stoul(header.substr(at + name.size() + 2)));
}

constexpr const char* kShortGame = "3 -\n1 space\n40 up,fire\n100 left,fire\n";

TEST(TraceRun, AttractFramesDrawOnceAndSpaceStartsPlay) {
    const auto b = blocks(trace(kShortGame, {.full = true}));
    ASSERT_EQ(b.size(), 145u);  // frame 0 and one per scripted frame
    for (std::size_t n = 0; n < b.size(); ++n)
        ASSERT_EQ(b[n].rfind("frame " + std::to_string(n) + " ", 0), 0u) << b[n];

    // Frame 0: the fresh world, not playing, nothing heard.
    EXPECT_EQ(field(b[0], "playing"), 0u);
    EXPECT_EQ(field(b[0], "ticks"), 0u);
    EXPECT_EQ(field(b[0], "barrelsLeft"), 18u);
    EXPECT_NE(b[0].find("\ncues -\n"), std::string::npos);
    // Each attract frame turns the generator by exactly one step.
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(field(b[n], "playing"), 0u);
        EXPECT_EQ(field(b[n], "rng"), field(b[n - 1], "rng") * 214013u + 2531011u);
    }
    // Space at frame 4 starts play at once; the game then ticks.
    EXPECT_EQ(field(b[4], "playing"), 1u);
    EXPECT_EQ(field(b[4], "ticks"), 0u);
    EXPECT_EQ(field(b[144], "ticks"), 140u);
    // Holding fire in play fires, and the trace hears it.
    int shots = 0;
    for (const auto& block : b) shots += block.find("\ncues shot") != std::string::npos;
    EXPECT_GT(shots, 5);
}

TEST(TraceRun, HashLinesAreTheHashesOfTheBlocksAndRunsRepeat) {
    const std::string full = trace(kShortGame, {.full = true});
    ASSERT_GT(full.size(), 2u << 16);  // several output chunks
    const auto b = blocks(full);
    const auto hashed = lines(trace(kShortGame));
    ASSERT_EQ(hashed.size(), b.size());
    for (std::size_t n = 0; n < b.size(); ++n) {
        char hex[16];
        const std::string expected = "FRAME " + std::to_string(n) + " " + std::string(hex, formatHex16(hex, fnv1a64(b[n])));
        ASSERT_EQ(hashed[n], expected);
    }
    // A second run in the same process starts from the same world.
    EXPECT_EQ(trace(kShortGame, {.full = true}), full);
}

TEST(TraceRun, FrameSelectionIsInclusiveAndClipsAtTheEnd) {
    const auto all = lines(trace(kShortGame));
    auto selected = [&](std::uint64_t first, std::uint64_t last) {
        return lines(trace(kShortGame, {.first = first, .last = last}));
    };
    EXPECT_EQ(selected(2, 4), std::vector<std::string>(all.begin() + 2, all.begin() + 5));
    EXPECT_EQ(selected(0, 0), std::vector<std::string>(all.begin(), all.begin() + 1));
    EXPECT_EQ(selected(144, 144), std::vector<std::string>(all.end() - 1, all.end()));
    EXPECT_EQ(selected(140, 1000000), std::vector<std::string>(all.end() - 5, all.end()));
    EXPECT_TRUE(selected(145, 200).empty());

    const auto fullSelection = blocks(trace(kShortGame, {.full = true, .first = 10, .last = 11}));
    ASSERT_EQ(fullSelection.size(), 2u);
    EXPECT_EQ(fullSelection[0].rfind("frame 10 ", 0), 0u);
}

TEST(TraceRun, FailedOutputStopsTheRun) {
    int chunks = 0;
    ScriptReader reader("100000 -\n");
    const TraceOutcome outcome = runTrace(reader, {.full = true}, [&](std::string_view) {
        ++chunks;
        return false;
    });
    EXPECT_EQ(outcome.result, TraceOutcome::OutputFailed);
    EXPECT_EQ(chunks, 1);
}

}  // namespace
}  // namespace drumhold::tools
