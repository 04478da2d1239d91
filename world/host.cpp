// host.cpp -- the installed world host, and the silent one used when none is.
#include "world/host.h"

namespace drumhold {

namespace {

// No sound, list name 0, no waiting: enough to run the world headless.
class SilentHost final : public WorldHost {
public:
    int playCue(const char*) override { return 0; }
    unsigned createTankList(const Shape&) override { return 0; }
    void releaseTankList(unsigned) override {}
    void sleepMs(std::uint32_t) override {}
};

SilentHost silentHost;
WorldHost* installedHost = nullptr;

}  // namespace

WorldHost* setWorldHost(WorldHost* host) {
    WorldHost* previous = installedHost;
    installedHost = host;
    return previous;
}

WorldHost& worldHost() { return installedHost ? *installedHost : silentHost; }

}  // namespace drumhold
