// options.h -- the game's command line.
//
//   drumhold [--windowed | --fullscreen] [--record FILE | --replay FILE]
//            [--help] [--version]
//
// With no arguments the game starts fullscreen and neither records nor replays.
#pragma once

#include <string>

namespace drumhold {

struct Options {
    bool help = false;
    bool version = false;
    bool windowed = false;
    std::string recordPath;  // empty: not recording
    std::string replayPath;  // empty: not replaying
};

// The usage text --help prints.
extern const char* const kUsage;

// Reads the arguments; false with what is wrong, in one line, in `error`.
bool parseOptions(int argc, const char* const* argv, Options& options, std::string& error);

}  // namespace drumhold
