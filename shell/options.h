// options.h -- the game's command line.
//
//   drumhold [--windowed | --fullscreen[=desktop|switch]] [--scale[=N|fit]]
//            [--record FILE | --replay FILE] [--help] [--version]
//
// With no arguments the game starts fullscreen with the display switched to
// 800x600, and neither records nor replays.
#pragma once

#include <string>

#include "shell/window.h"

namespace drumhold {

struct Options {
    bool help = false;
    bool version = false;
    bool windowed = false;  // start in the window: --windowed, or --scale without --fullscreen
    FullscreenKind fullscreenKind = FullscreenKind::SwitchMode;
    int scaleTenths = 0;     // --scale=N in tenths (10..80), kScaleFit; 0: no --scale
    std::string recordPath;  // empty: not recording
    std::string replayPath;  // empty: not replaying
};

// The usage text --help prints.
extern const char* const kUsage;

// Reads the arguments; false with what is wrong, in one line, in `error`.
bool parseOptions(int argc, const char* const* argv, Options& options, std::string& error);

}  // namespace drumhold
