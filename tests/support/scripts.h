// scripts.h -- long, busy replay scripts made up from a fixed seed.
//
// A made-up game of heavy play: the fire key held most of the time while the
// tank turns and drives about in runs of varied length, with short taps mixed in,
// so that missiles, explosions and power-ups keep coming. Space is held in most
// runs, so a finished game soon restarts and the attract mode still gets a look
// in now and then. The same seed always gives the same script.
#pragma once

#include <cstdint>
#include <string>
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

}  // namespace drumhold::testing
