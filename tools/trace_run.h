// trace_run.h -- runs the game headless, frame by frame, and prints its trace.
//
// Frame 0 is the freshly initialised world (seed 17, not playing); every later
// frame sets the key table from the script and runs the update step with 1000 ms
// elapsed, so no pacing sleep ever happens.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "tools/trace_block.h"
#include "tools/trace_script.h"
#include "data/keys.h"
#include "world/world.h"

namespace drumhold::trace {

// The world's host while tracing: collects the cue names of the current frame,
// hands out display list 0 and never sleeps.
class TraceHost : public WorldHost {
public:
    bool playCue(const char* name) override;

    void clearCues() { cues_.clear(); }
    // Names joined by commas, in the order they were requested; empty for none.
    std::string_view cues() const { return cues_; }

private:
    std::string cues_;
};

// One traced game. Initialises the world on construction (that is frame 0) and
// releases it on destruction.
class TraceSession {
public:
    TraceSession();
    ~TraceSession();
    TraceSession(const TraceSession&) = delete;
    TraceSession& operator=(const TraceSession&) = delete;

    // Runs the next frame with `heldKeys` (KEY_* bits) held.
    void step(unsigned heldKeys);
    std::uint64_t frame() const { return frame_; }
    FrameView view() const;

private:
    TraceHost host_;
    GameState game_{};
    KeyTable keys_{};
    std::uint64_t frame_ = 0;
};

struct TraceOptions {
    bool full = false;  // whole blocks instead of FRAME lines
    std::uint64_t first = 0;
    std::uint64_t last = std::numeric_limits<std::uint64_t>::max();
};

// Receives the output in large chunks; returns false to stop the run (a failed write).
using TraceSink = std::function<bool(std::string_view)>;

// Runs the script's frames and prints those the options select. Frames past the
// selection are not run at all. Returns false when the sink gave up.
bool runTrace(const std::vector<ScriptStep>& steps, const TraceOptions& options, const TraceSink& sink);

}  // namespace drumhold::trace
