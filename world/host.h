// host.h -- the world's only window on the outside.
//
// The world needs three things it cannot do itself: play a sound cue, give a new
// tank a display list of its outline, and sleep to pace a tick. Whoever runs the
// world installs a host: the game an SDL/GL-backed one, the replay tool and the
// tests a recording or silent one. With no host installed the world is silent,
// makes list name 0 and never sleeps.
#pragma once

#include <cstdint>

namespace drumhold {

struct Shape;

class WorldHost {
public:
    virtual ~WorldHost() = default;
    // Start the named cue ("shot", "grab", "explosion", "power_up", "thump")
    // without waiting. Non-zero when playback started.
    virtual int playCue(const char* name) = 0;
    // Allocate a display list for a new tank and compile the outline into it.
    virtual unsigned createTankList(const Shape& shape) = 0;
    // A tank released by a reset gives its list back.
    virtual void releaseTankList(unsigned list) = 0;
    virtual void sleepMs(std::uint32_t ms) = 0;
};

// Installs `host` (not owned; nullptr restores the silent default) and returns the
// previous one.
WorldHost* setWorldHost(WorldHost* host);
WorldHost& worldHost();

}  // namespace drumhold
