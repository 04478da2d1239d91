// signals_web.cpp -- requests from outside in the browser: none. The page
// itself stands for the window manager (page fullscreen needs no display
// switch) and a closed tab simply ends the program.
#include "shell/signals.h"

namespace drumhold {

bool startSignalWatch(void (*)(OutsideRequest)) { return false; }

// The page has one thread: no thread is started, and the caller does the work
// itself (the record goes to a file in memory, which never keeps it waiting).
std::thread startQuietThread(std::function<void()>) { return {}; }

}  // namespace drumhold
