// Random mutations of valid replay scripts: byte flips, stray digits, commas,
// blanks, '#', newlines, NUL and high bytes, deletions, duplicated lines, huge
// counts and empty key names. Whatever the text, the parser must either refuse
// it naming an existing line that really is the first bad one, or accept it with
// sound steps; and the real tool must say the same with its exit status.
// not on Windows: it runs the real tool through the POSIX child runner
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "replay/script.h"
#include "tests/support/child_run.h"
#include "tests/support/scripts.h"

namespace drumhold::testing {
namespace {

using replay::ScriptError;
using replay::ScriptStep;

constexpr int kParses = 300000;
constexpr int kToolRuns = 200;
constexpr unsigned kAllKeys = replay::KEY_UP | replay::KEY_DOWN | replay::KEY_LEFT | replay::KEY_RIGHT |
                              replay::KEY_FIRE | replay::KEY_SPACE;

std::vector<std::string> seedScripts() {
    std::vector<std::string> seeds = {
        "# attract, then a game\n10 -\n1 space\n\n25 up,left,fire   # swerve\n3 down,right,space,up\n",
        "\t5\tfire\r\n007 up\r\n1 -",
        "2147483647 -\n1 left,left,right\n# the end\n",
        "1 space\n200 fire,up\n40 fire,left\n300 fire,up,right\n",
    };
    for (std::uint64_t seed = 1; seed <= 4; ++seed)
        seeds.push_back(formatScript(makePlayScript({300, seed, seed % 2 == 0})));
    return seeds;
}

class Mutator {
public:
    explicit Mutator(std::uint64_t seed) : draws_(seed) {}

    std::string mutate(std::string text) {
        const int edits = 1 + static_cast<int>(below(4));
        for (int i = 0; i < edits; ++i) edit(text);
        return text;
    }
    std::uint64_t below(std::uint64_t n) { return draws_() % n; }

private:
    std::mt19937_64 draws_;

    std::size_t position(const std::string& text) { return below(text.size() + 1); }

    std::string_view pick(std::initializer_list<std::string_view> options) {
        return options.begin()[below(options.size())];
    }

    // Start and end (past the newline) of the line holding `pos`.
    static std::pair<std::size_t, std::size_t> lineAround(const std::string& text, std::size_t pos) {
        std::size_t start = pos == 0 ? 0 : text.rfind('\n', pos - 1);
        start = start == std::string::npos || pos == 0 ? 0 : start + 1;
        std::size_t end = text.find('\n', pos);
        return {start, end == std::string::npos ? text.size() : end + 1};
    }

    void edit(std::string& text) {
        const std::size_t at = position(text);
        switch (below(9)) {
        case 0:  // flip a bit of a byte
            if (!text.empty()) text[below(text.size())] ^= static_cast<char>(1u << below(8));
            break;
        case 1:  // a stray character
            text.insert(at, 1, pick({"0", "7", "9", ",", " ", "\t", "#", "\n", "\r", "-"})[0]);
            break;
        case 2:  // NUL or a high byte
            text.insert(at, 1, below(3) == 0 ? '\0' : static_cast<char>(0x80 + below(128)));
            break;
        case 3:  // delete a few bytes
            text.erase(at, 1 + below(8));
            break;
        case 4: {  // duplicate a line
            if (text.empty()) break;
            auto [start, end] = lineAround(text, below(text.size()));
            text.insert(start, text.substr(start, end - start) + (end == text.size() ? "\n" : ""));
            break;
        }
        case 5:  // a huge, zero or odd count where a count stands
            text.replace(lineAround(text, at).first, 0,
                         pick({"4294967296", "2147483648", "2147483647", "99999999999999999999999999", "0",
                               "000", "-1", "+3", "0x10", "1e3"}));
            break;
        case 6:  // empty or doubled key names
            text.insert(at, pick({",", ",,", " ,", ", ", "fire,", ",space", "-,up"}));
            break;
        case 7:  // a key name, whole or not
            text.insert(at, pick({"up", "down", "left", "right", "fire", "space", "spac", "UP", "shift", "-"}));
            break;
        default:  // a whole new line, good or bad
            text.insert(lineAround(text, at).first,
                        std::string(pick({"1 -", "3 fire,up", "", "#", "2", "4 up down", "5 ,", " 6\tleft "})) + "\n");
            break;
        }
    }
};

// Lines as the parser counts them: a last line needs no newline.
int lineCount(std::string_view text) {
    int n = 0;
    for (char c : text) n += c == '\n';
    return n + (!text.empty() && text.back() != '\n');
}

// Lines that hold anything but blanks before a '#'.
int instructionLines(std::string_view text) {
    int n = 0;
    while (!text.empty()) {
        const std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        line = line.substr(0, line.find('#'));
        n += line.find_first_not_of(" \t\r\v\f") != std::string_view::npos;
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
    }
    return n;
}

// The number of the cut last line the reader names (0: none).
std::size_t cutLine(std::string_view text) {
    replay::ScriptReader reader(text);
    ScriptStep step;
    while (reader.next(step)) {
    }
    return static_cast<std::size_t>(reader.cutLine().line);
}

// The first `lines` lines of `text`.
std::string_view firstLines(std::string_view text, int lines) {
    std::size_t end = 0;
    for (int i = 0; i < lines && end < text.size(); ++i) {
        const std::size_t eol = text.find('\n', end);
        end = eol == std::string_view::npos ? text.size() : eol + 1;
    }
    return text.substr(0, end);
}

TEST(ParserFuzz, MutatedScriptsAreRefusedAtTheFirstBadLineOrAcceptedSoundly) {
    const auto seeds = seedScripts();
    Mutator mutator(0xF022);
    std::vector<ScriptStep> steps;
    int accepted = 0;
    int refused = 0;
    for (int i = 0; i < kParses; ++i) {
        const std::string text = mutator.mutate(seeds[mutator.below(seeds.size())]);
        ScriptError error;
        if (parseScript(text, steps, error)) {
            ++accepted;
            // A last line the text ends inside of, and that is no instruction,
            // is a cut record's end: the script is the whole lines before it.
            const std::size_t cut = cutLine(text);
            std::string_view whole = text;
            if (cut) whole = whole.substr(0, whole.rfind('\n') + 1);
            ASSERT_EQ(static_cast<int>(steps.size()), instructionLines(whole)) << text;
            for (const ScriptStep& step : steps) {
                ASSERT_GE(step.count, 1u) << text;
                ASSERT_LE(step.count, 2147483647u) << text;
                ASSERT_EQ(step.keys & ~kAllKeys, 0u) << text;
            }
        } else {
            ++refused;
            ASSERT_GE(error.line, 1) << text;
            ASSERT_LE(error.line, lineCount(text)) << text;
            ASSERT_FALSE(error.message.empty()) << text;
            // Everything before the named line is fine on its own, and the
            // named line by itself is not.
            ScriptError before;
            ASSERT_TRUE(parseScript(firstLines(text, error.line - 1), steps, before))
                << "line " << error.line << " named, but line " << before.line << " is bad already:\n" << text;
            ASSERT_GT(instructionLines(firstLines(text, error.line)), instructionLines(firstLines(text, error.line - 1)))
                << "line " << error.line << " holds no instruction:\n" << text;
        }
    }
    std::printf("fuzz: %d scripts parsed, %d accepted, %d refused\n", kParses, accepted, refused);
    // Both outcomes must be common, or the mutations test little.
    EXPECT_GT(accepted, kParses / 20);
    EXPECT_GT(refused, kParses / 4);
}

TEST(ParserFuzz, TheToolAgreesAndNeverDiesOnASignal) {
    const auto seeds = seedScripts();
    Mutator mutator(0x70A1);
    const std::string path = ::testing::TempDir() + "drumhold-fuzz-" + std::to_string(::getpid()) + ".script";
    for (int i = 0; i < kToolRuns; ++i) {
        const std::string text = mutator.mutate(seeds[mutator.below(seeds.size())]);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        std::vector<ScriptStep> steps;
        ScriptError error;
        const bool valid = parseScript(text, steps, error);

        // Only frame 0 is printed, and later frames run only if a check needs
        // them; every other run reads standard input.
        ChildOptions options;
        options.args = {DRUMHOLD_TRACE_BIN, "--frames", "0:0"};
        if (i % 2 == 0)
            options.args.push_back(path);
        else
            options.stdinPath = path;
        options.env = strictSanitizerEnv();
        std::string out;
        options.onOutput = [&](std::string_view chunk) { out.append(chunk); };
        const ChildResult r = runChild(options);

        ASSERT_TRUE(r.started) << r.describe();
        ASSERT_TRUE(r.exited) << r.describe() << "\n" << r.err << "\n" << text;
        if (valid) {
            EXPECT_EQ(r.exitCode, 0) << r.err << "\n" << text;
            if (const std::size_t cut = cutLine(text))
                EXPECT_NE(r.err.find(": line " + std::to_string(cut) + " is cut short ("), std::string::npos) << r.err;
            else
                EXPECT_EQ(r.err, "") << text;
            EXPECT_EQ(out.rfind("FRAME 0 ", 0), 0u) << out;
            EXPECT_EQ(out.size(), 8u + 16 + 1) << out;
        } else {
            EXPECT_EQ(r.exitCode, 2) << r.err << "\n" << text;
            EXPECT_NE(r.err.find(": line " + std::to_string(error.line) + ": "), std::string::npos) << r.err;
            // A file is refused before any frame; standard input has run (and
            // printed) what came before the bad line: here frame 0 alone.
            if (i % 2 == 0)
                EXPECT_EQ(out, "") << text;
            else
                EXPECT_EQ(out.rfind("FRAME 0 ", 0), 0u) << out;
        }
    }
    std::remove(path.c_str());
}

}  // namespace
}  // namespace drumhold::testing
