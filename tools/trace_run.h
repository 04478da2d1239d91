// trace_run.h -- runs the game headless, frame by frame, and prints its trace.
//
// Frame 0 is the freshly initialised world (seed 17, not playing); every later
// frame sets the key table from the script and runs the update step with 1000 ms
// elapsed, so no pacing sleep ever happens. `reinit` initialises the world
// again as a display switch does; `check` compares a frame's hash.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>

#include "data/keys.h"
#include "replay/block.h"
#include "replay/script.h"
#include "world/world.h"

namespace drumhold::replay {

// The world's host while tracing: collects the cue names of the current frame;
// no lists, no sleeping.
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
    // The world initialised again before the next frame, as a new window does it.
    void reinit();
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
TraceOutcome runTrace(ScriptReader& reader, const TraceOptions& options, const TraceSink& sink);

}  // namespace drumhold::replay
