// block.h -- one frame of a game as text: the full block that lists everything
// the world holds (header, power-up, tanks with their missiles, barrels,
// explosions with their debris, the cues of the frame), and its hash, which
// the replay trace prints and recorded games check.
#pragma once

#include <cstdint>
#include <string_view>

#include "replay/text.h"
#include "world/records.h"

namespace drumhold::replay {

// Everything a block shows.
struct FrameView {
    std::uint64_t frame = 0;
    const GameState* game = nullptr;
    std::string_view cues;  // cue names joined by commas; empty when none
};

// Appends the block of `view` to `out`, every line ending in a newline.
void appendBlock(TextBuffer& out, const FrameView& view);
// The FNV-1a hash of the block, formatted in `scratch`.
std::uint64_t blockHash(const FrameView& view, TextBuffer& scratch);

}  // namespace drumhold::replay
