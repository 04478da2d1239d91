// list_host.h -- a world host for drawing the world outside the game: each new
// tank's outline is compiled into a list of the current GL context; no sound,
// no sleeping. The drawing tests and the drawing benchmark run the world on it.
#pragma once

#include <cstdint>

#include "render/render.h"
#include "world/host.h"

namespace drumhold {

class ListHost : public WorldHost {
public:
    int playCue(const char*) override { return 0; }
    unsigned createTankList(const Shape& shape) override { return compileTankList(shape); }
    void releaseTankList(unsigned list) override { drumhold::releaseTankList(list); }
    void sleepMs(std::uint32_t) override {}
};

}  // namespace drumhold
