// trace_block.h -- one frame of the replay trace as text: the full block that
// lists everything the world holds (header, power-up, tanks with their missiles,
// barrels, explosions with their debris, the cues of the frame).
#pragma once

#include <cstdint>
#include <string_view>

#include "tools/trace_text.h"
#include "world/records.h"

namespace drumhold::trace {

// Everything a block shows.
struct FrameView {
    std::uint64_t frame = 0;
    const GameState* game = nullptr;
    std::string_view cues;  // cue names joined by commas; empty when none
};

// Appends the block of `view` to `out`, every line ending in a newline.
void appendBlock(TextBuffer& out, const FrameView& view);

}  // namespace drumhold::trace
