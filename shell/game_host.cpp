// game_host.cpp -- the world's host in the running game.
#include "shell/game_host.h"

#include "shell/sound.h"

namespace drumhold {

int GameHost::playCue(const char* name) { return playSound(name); }

unsigned GameHost::createTankList(const Shape& shape) {
    if (!contextLive_) return 0;
    const unsigned list = presentation_.compileTankList(shape);
    if (list != 0) lists_.insert(list);
    return list;
}

void GameHost::releaseTankList(unsigned list) {
    if (lists_.erase(list) != 0) presentation_.releaseTankList(list);
}

void GameHost::sleepMs(std::uint32_t ms) { platform_.sleep(ms); }

void GameHost::contextOpened() {
    lists_.clear();
    contextLive_ = true;
}

void GameHost::contextClosed() {
    lists_.clear();
    contextLive_ = false;
}

}  // namespace drumhold
