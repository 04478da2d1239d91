// scripts.h -- replay scripts as the tests make and read them: long, busy
// ones made up from a fixed seed, and whole scripts parsed at once.
//
// A made-up game of heavy play: the fire key held most of the time while the
// tank turns and drives about in runs of varied length, with short taps mixed in,
// so that missiles, explosions and power-ups keep coming. Space is held in most
// runs, so a finished game soon restarts and the attract mode still gets a look
// in now and then. The same seed always gives the same script.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "replay/script.h"

namespace drumhold::testing {

struct PlayScriptOptions {
    std::uint64_t frames = 0;  // frames in total, the starting space press included
    std::uint64_t seed = 1;
    // Space in every run: a finished game restarts on the very next frame.
    bool spaceAlways = false;
};

// Starts with one frame of space (a game begins at once), then runs of play up to
// exactly `frames` frames.
std::vector<replay::ScriptStep> makePlayScript(const PlayScriptOptions& options);

using replay::formatScript;

// Parses a whole script held in memory. On error returns false, leaves `steps`
// unspecified and says in `error` which line is wrong and why.
bool parseScript(std::string_view text, std::vector<replay::ScriptStep>& steps, replay::ScriptError& error);

// Frames the steps run, in total.
std::uint64_t totalFrames(const std::vector<replay::ScriptStep>& steps);

}  // namespace drumhold::testing
