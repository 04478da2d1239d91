// game_host.h -- the world's host in the running game.
//
// Cues go to the sound player, tank display lists to the presentation and the
// pacing sleeps to the platform's clock. Display lists die with their context:
// a list made in a context that has since been closed is never deleted in a
// newer one, where its name may already belong to something else.
#pragma once

#include <unordered_set>

#include "shell/platform.h"
#include "shell/presentation.h"
#include "world/host.h"

namespace drumhold {

class GameHost final : public WorldHost {
public:
    GameHost(Platform& platform, Presentation& presentation)
        : platform_(platform), presentation_(presentation) {}

    int playCue(const char* name) override;
    unsigned createTankList(const Shape& shape) override;
    void releaseTankList(unsigned list) override;
    void sleepMs(std::uint32_t ms) override;

    // A new context is current: lists from here on belong to it.
    void contextOpened();
    // The context is gone, and every list made in it with it.
    void contextClosed();

private:
    Platform& platform_;
    Presentation& presentation_;
    bool contextLive_ = false;
    std::unordered_set<unsigned> lists_;  // made in the current context and not yet released
};

}  // namespace drumhold
