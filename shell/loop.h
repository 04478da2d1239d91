// loop.h -- the program's run: the outer loop, the message pump and the title.
#pragma once

#include "shell/platform.h"
#include "shell/presentation.h"
#include "shell/window.h"

namespace drumhold {

// The whole run on `platform`, drawing with `presentation`: register, then open
// a window, show the title, pump messages and run frames until the quit
// message, close, and again while `running` is set (a display switch).
// Returns the exit code: 0, or -1 when the video system cannot be brought up.
int runGame(Platform& platform, Presentation& presentation);
// The same with the OpenGL presentation.
int runGame(Platform& platform);

// Fresh world on `keys`, context prepared, title shown for 5000 ms. Returns 1.
int initGame(GameWindow& window, int* keys);

// Takes and dispatches messages, running a frame whenever none is pending and
// the window is active, until the quit message.
void pumpMessages(GameWindow& window);

}  // namespace drumhold
