// session.cpp -- the world's run shared by the game and the replay tool.
#include "replay/session.h"

#include "replay/script.h"
#include "world/world.h"

namespace drumhold::replay {

namespace {
// A script frame gets as long as it likes: the update step never sleeps.
constexpr std::uint32_t kScriptElapsedMs = 1000;
}  // namespace

bool Session::CueList::playCue(const char* name) {
    if (!names.empty()) names += ',';
    names += name;
    return outer ? outer->playCue(name) : true;
}

Session::Session(WorldHost* outer) {
    cues_.outer = outer;
    game_.host = &cues_;
}

Session::~Session() { release(); }

void Session::release() { releaseWorld(&game_); }

void Session::init() {
    initWorld(&game_);
    cues_.names.clear();
}

bool Session::step(const KeyTable& keys, std::uint32_t elapsedMs) {
    cues_.names.clear();
    const bool goOn = updateFrame(&game_, keys, elapsedMs);
    ++frame_;
    return goOn;
}

void Session::step(unsigned held) {
    setKeyTable(keys_, held);
    step(keys_, kScriptElapsedMs);
}

}  // namespace drumhold::replay
