// trace_script.h -- the replay tool's input: runs of frames with the keys held.
//
// One instruction per line, `COUNT KEYS`: COUNT a positive decimal integer, KEYS
// `-` (nothing held) or a comma-separated list of up, down, left, right, fire and
// space. `#` starts a comment; blank lines are ignored.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/keys.h"

namespace drumhold::trace {

// Key bits of a script step, one per key the script can hold.
enum : unsigned {
    KEY_UP = 1u << 0,
    KEY_DOWN = 1u << 1,
    KEY_LEFT = 1u << 2,
    KEY_RIGHT = 1u << 3,
    KEY_FIRE = 1u << 4,
    KEY_SPACE = 1u << 5,
};

struct ScriptStep {
    std::uint32_t count;  // frames, at least 1
    unsigned keys;        // KEY_* bits
};

struct ScriptError {
    int line = 0;  // 1-based
    std::string message;
};

// Parses a whole script. On error returns false, leaves `steps` unspecified and
// says in `error` which line is wrong and why.
bool parseScript(std::string_view text, std::vector<ScriptStep>& steps, ScriptError& error);

// The steps as script text, one `COUNT KEYS` line each: what parseScript reads.
std::string formatScript(const std::vector<ScriptStep>& steps);

// Fills the key table: the entries of the held keys are 1, every other entry 0.
void setKeyTable(KeyTable& keys, unsigned held);

// Frames the steps run, in total.
std::uint64_t totalFrames(const std::vector<ScriptStep>& steps);

}  // namespace drumhold::trace
