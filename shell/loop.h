// loop.h -- the program's run: the outer loop, the message pump and the title.
#pragma once

#include "render/presentation.h"
#include "shell/platform.h"
#include "shell/sound.h"
#include "shell/window.h"
#include "world/records.h"

namespace drumhold {

// The whole run on `platform`, drawing with `presentation` and playing cues on
// `sound`: register, then open a window, show the title, pump messages and run
// frames until the quit message, close, and again while `running` is set (a
// display switch). Returns the exit code: 0, or -1 when the video system cannot
// be brought up.
int runGame(Platform& platform, Presentation& presentation, Sound& sound);

// A fresh game in `game` on the just-opened window, its title shown for 5000 ms.
void initGame(GameWindow& window, GameState& game);

// Takes and dispatches messages, running a frame whenever none is pending and
// the window is active, until the quit message.
void pumpMessages(GameWindow& window, GameState& game);

}  // namespace drumhold
