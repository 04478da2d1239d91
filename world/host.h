// host.h -- the world's only window on the outside.
//
// The world needs three things it cannot do itself: play a sound cue, give a new
// tank a display list of its outline, and sleep to pace a tick. Whoever runs the
// world puts a host in GameState::host: the game an SDL/GL-backed one, the replay
// tool and the tests a recording one. The defaults do nothing, so a plain
// WorldHost runs the world silent, list-less and unpaced; so does no host at all.
#pragma once

#include <cstdint>

#include "world/records.h"

namespace drumhold {

class WorldHost {
public:
    virtual ~WorldHost() = default;
    // Start the named cue ("shot", "grab", "explosion", "power_up", "thump")
    // without waiting. True when playback started.
    virtual bool playCue(const char*) { return false; }
    // A display list with the outline compiled into it, for a new tank.
    virtual unsigned createTankList(const Shape&) { return 0; }
    // A released tank gives its list back. The list may belong to a context
    // that is gone (a new window): the host knows and then does nothing.
    virtual void releaseTankList(unsigned) {}
    virtual void sleepMs(std::uint32_t) {}
};

inline bool playCue(GameState* game, const char* name) { return game->host && game->host->playCue(name); }

// The pacing of an update step: one that starts less than `periodMs` after the
// previous one sleeps the difference (unsigned: a clock wrap is harmless).
inline void pace(GameState* game, std::uint32_t elapsedMs, std::uint32_t periodMs) {
    if (elapsedMs < periodMs && game->host) game->host->sleepMs(periodMs - elapsedMs);
}

}  // namespace drumhold
