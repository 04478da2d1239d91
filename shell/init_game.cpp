// init_game.cpp -- a fresh game on a newly opened window, and its title screen.
#include "shell/loop.h"
#include "world/game.h"

namespace drumhold {

namespace {
constexpr std::uint32_t kTitleMs = 5000;
}

int initGame(GameWindow& window, int* keys) {
    initWorld(keys);
    window.presentation->prepare(game);
    window.presentation->showTitle(game);
    window.platform().swapBuffers();
    // No message is handled during the title: keys pressed meanwhile wait in
    // the queue and reach the table before the first frame.
    window.platform().sleep(kTitleMs);
    return 1;
}

}  // namespace drumhold
