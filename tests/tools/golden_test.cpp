// The golden scripts keep in view the play they were written for. Their traces,
// frame by frame, are checked by golden.sh (the CTest tools.golden).
#include <gtest/gtest.h>

#include <algorithm>
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
