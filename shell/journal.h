// journal.h -- what a recorded or replayed game adds to the loop.
//
// The loop tells its journal when the world starts and is initialised again,
// hands it the key table before every update and the world after every frame,
// and asks it before every frame whether the world is to be initialised again
// first, or whether it needs to read on before it can say. The defaults do
// nothing: a plain Journal is a game neither recorded nor replayed. Recorder
// and Replayer are the two others.
#pragma once

#include <cstdint>

#include "data/keys.h"
#include "replay/block.h"

namespace drumhold {

// What comes before the next frame.
enum class Before {
    Frame,   // the frame itself
    Reinit,  // the world initialised again, with its title
    ReadOn,  // nothing yet: the journal reads on, a bounded piece at a time
};

class Journal {
public:
    virtual ~Journal() = default;
    // Frame 0: the world as the first window initialised it.
    virtual void begin(const replay::FrameView&) {}
    // Asked before every frame, and again after a Reinit or a ReadOn (the
    // loop looks at its messages in between, so that it never stops
    // answering, whatever a replay's file holds).
    virtual Before beforeFrame(const replay::FrameView&) { return Before::Frame; }
    // True when Esc during a title ends the run (a replay: the keys the
    // title would keep for the first frame are the script's anyway).
    virtual bool escapeEndsTitle() const { return false; }
    // The key table for the next update; it holds the keyboard's keys.
    virtual void prepareKeys(KeyTable&) {}
    // A frame has been run and presented: the six keys its update saw (KEY_*
    // bits), the world it left, and the platform's clock.
    virtual void frameDone(unsigned, const replay::FrameView&, std::uint32_t) {}
    // A display switch is about to initialise the world again; `last` is the
    // world of the last frame.
    virtual void beforeSwitch(const replay::FrameView&) {}
    // The run ends after the frame `last`.
    virtual void end(const replay::FrameView&) {}
};

}  // namespace drumhold
