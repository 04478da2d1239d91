// session.h -- the one run of the world that recorded games are made of: the
// game's window and the replay tool both step this, so the block every check
// hashes is the same thing on both sides.
//
// init() is frame 0 and also what a display switch does (`reinit`): the world
// initialised again (seed 17, fresh records; `playing` and the explosions carry
// over) and the cue list emptied. step() runs one update with a key table and
// counts the frame; its cues are listed for the frame's block. Cues, tank lists
// and pacing sleeps go on to the outer host, if any (the game's sound, display
// lists and clock); the tool has none.
#pragma once

#include <cstdint>
#include <string>

#include "data/keys.h"
#include "replay/block.h"
#include "world/host.h"
#include "world/records.h"

namespace drumhold::replay {

class Session {
public:
    explicit Session(WorldHost* outer = nullptr);
    // Releases the world.
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The world initialised (again), with no cues.
    void init();
    // Everything the world holds given back (its tank lists to the outer host);
    // done by the destructor if not before.
    void release();
    // One update with `keys` held, `elapsedMs` after the last; false when the
    // table asks to end the run (Esc).
    bool step(const KeyTable& keys, std::uint32_t elapsedMs);
    // One update as a script runs it: only the KEY_* bits `held` down, and
    // 1000 ms elapsed, so the update never sleeps.
    void step(unsigned held);

    std::uint64_t frame() const { return frame_; }
    const GameState& game() const { return game_; }
    FrameView view() const { return {frame_, &game_, cues_.names}; }

private:
    // Lists the cues of the frame, then hands everything on to the outer host.
    struct CueList final : WorldHost {
        WorldHost* outer = nullptr;
        std::string names;  // joined by commas
        bool playCue(const char* name) override;
        unsigned createTankList(const Shape& shape) override { return outer ? outer->createTankList(shape) : 0; }
        void releaseTankList(unsigned list) override {
            if (outer) outer->releaseTankList(list);
        }
        void sleepMs(std::uint32_t ms) override {
            if (outer) outer->sleepMs(ms);
        }
    };

    CueList cues_;
    GameState game_{};
    KeyTable keys_{};  // the table of script steps
    std::uint64_t frame_ = 0;
};

}  // namespace drumhold::replay
