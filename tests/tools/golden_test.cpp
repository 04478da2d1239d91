// Golden traces: short scripted games whose every frame hash is checked in.
// Any change to what the world does, in any frame, shows up here with the first
// frame that differs. After an intended change, scripts/update-golden.sh records
// the traces anew (review the first differing frame before doing so).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/trace_run.h"
#include "replay/script.h"

namespace drumhold::tools {
namespace {

using namespace replay;

namespace fs = std::filesystem;

const fs::path kGoldenDir = DRUMHOLD_GOLDEN_DIR;

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

std::vector<std::string> goldenScripts() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kGoldenDir))
        if (entry.path().extension() == ".script") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string runToString(const std::string& script, TraceOptions options = {}) {
    std::string out;
    ScriptReader reader(script);
    const TraceOutcome outcome = runTrace(reader, options, [&](std::string_view chunk) {
        out += chunk;
        return true;
    });
    EXPECT_EQ(outcome.result, TraceOutcome::Done) << "line " << reader.error().line << ": " << reader.error().message;
    return out;
}

std::string loadScript(const std::string& name) { return slurp(kGoldenDir / (name + ".script")); }

class GoldenTrace : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenTrace, MatchesTheRecordedTrace) {
    const std::string name = GetParam();
    const fs::path expectedPath = kGoldenDir / (name + ".frames");
    ASSERT_TRUE(fs::exists(expectedPath)) << "no recorded trace " << expectedPath
                                          << "; record it with scripts/update-golden.sh";
    const auto expected = lines(slurp(expectedPath));
    const auto actual = lines(runToString(loadScript(name)));

    const auto [e, a] = std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
    if (e != expected.end() || a != actual.end()) {
        const auto frame = static_cast<long>(e - expected.begin());
        ADD_FAILURE() << name << ": first difference at frame " << frame << "\n  recorded: "
                      << (e != expected.end() ? *e : "(end of trace)") << "\n  now:      "
                      << (a != actual.end() ? *a : "(end of trace)") << "\n  inspect with: drumhold-trace --full --frames "
                      << frame << ":" << frame << " " << (kGoldenDir / (name + ".script")).string();
    }
}

INSTANTIATE_TEST_SUITE_P(Scripts, GoldenTrace, ::testing::ValuesIn(goldenScripts()),
                         [](const auto& info) {
                             std::string name = info.param;  // test names allow [A-Za-z0-9_] only
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

// The scripts are meant to keep certain play in view; if a change to the world
// moved it out of them, the goldens would silently stop covering it.
// The player's weapon bits in a "tank player" line, the ninth field.
int playerWeapons(const std::string& line) {
    std::istringstream in(line);
    std::string word;
    for (int i = 0; i < 10; ++i) in >> word;
    return std::stoi(word);
}

TEST(GoldenScripts, StillShowWhatTheyAreFor) {
    const auto idle = lines(runToString(loadScript("idle_thieves"), {.full = true}));
    EXPECT_TRUE(std::any_of(idle.begin(), idle.end(), [](const std::string& l) {
        return l.starts_with("cues ") && l.find("grab") != std::string::npos;
    })) << "no barrel hooked";
    const auto lastHeader = std::find_if(idle.rbegin(), idle.rend(), [](const std::string& l) {
        return l.starts_with("frame ");
    });
    ASSERT_NE(lastHeader, idle.rend());
    EXPECT_EQ(lastHeader->find(" barrelsLeft 18 "), std::string::npos) << "no barrel stolen";

    const auto powered = lines(runToString(loadScript("powerups_fire"), {.full = true}));
    EXPECT_TRUE(std::any_of(powered.begin(), powered.end(), [](const std::string& l) {
        return l.starts_with("tank player ") && playerWeapons(l) != 0;
    })) << "the player never holds a power-up";
}

}  // namespace
}  // namespace drumhold::tools
