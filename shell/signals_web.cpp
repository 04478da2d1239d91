// signals_web.cpp -- requests from outside in the browser: none. The page
// itself stands for the window manager (page fullscreen needs no display
// switch) and a closed tab simply ends the program.
#include "shell/signals.h"

#include <system_error>

namespace drumhold {

bool startSignalWatch(void (*)(OutsideRequest)) { return false; }

// The page has one thread: the work is done in place (the record goes to a
// file in memory, which never keeps it waiting).
bool threadsAvailable() { return false; }

std::thread startQuietThread(std::function<void()>) {
    throw std::system_error(std::make_error_code(std::errc::operation_not_supported), "no threads in the page");
}

}  // namespace drumhold
