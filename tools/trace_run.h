// trace_run.h -- runs a script headless, frame by frame, and prints its trace.
//
// The frames are those of the session the game runs (replay/session.h): frame
// 0 is the freshly initialised world, every later one a script step with 1000
// ms elapsed. `reinit` initialises the world again as a display switch does;
// `check` compares a frame's hash.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>

#include "replay/script.h"

namespace drumhold::tools {

struct TraceOptions {
    bool full = false;  // whole blocks instead of FRAME lines
    std::uint64_t first = 0;
    std::uint64_t last = std::numeric_limits<std::uint64_t>::max();
};

// Receives the output in chunks; returns false to stop the run (a failed write).
using TraceSink = std::function<bool(std::string_view)>;

struct TraceOutcome {
    enum Result { Done, BadScript, OutOfSync, OutputFailed };
    Result result = Done;
    // OutOfSync: the frame checked and the two hashes.
    std::uint64_t frame = 0;
    std::uint64_t expected = 0;
    std::uint64_t actual = 0;
};

// Runs the script's frames as the reader yields them and prints those the
// options select; a failed check ends the run after that frame's output, a bad
// line (see reader.error()) before anything of it runs. Output waiting in the
// buffer is handed to the sink whenever the reader would have to wait for more
// input, so a script piped in live is traced as it comes.
TraceOutcome runTrace(replay::ScriptReader& reader, const TraceOptions& options, const TraceSink& sink);

}  // namespace drumhold::tools
