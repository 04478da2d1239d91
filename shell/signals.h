// signals.h -- requests from outside the game: switch the display, or close.
//
// On Linux they come as signals: `kill -USR1 <pid>` asks for the display
// switch, SIGTERM and SIGINT ask the game to close. The three are blocked in
// the calling thread, and so in every thread it starts afterwards (call this
// first thing in main, before anything starts a thread or can take a while:
// opening a record, checking a replay), and a watcher thread takes them with
// sigwait. SIGPIPE is ignored, process-wide: a write to a pipe nobody reads
// any more (a record, standard error) fails instead of ending the game. On
// Windows (signals_windows.cpp) the switch is the window message 1025 posted
// to the game's window, and Ctrl+C, closing the console and the end of the
// session ask it to close. Either way each request goes to `notify`, on
// whatever thread heard it; a request never interrupts or kills the game, it
// becomes a message like any other.
#pragma once

#include <functional>
#include <thread>

namespace drumhold {

enum class OutsideRequest { SwitchDisplay, Close };

// Returns false when the requests could not be watched for (signals then keep
// their default actions).
bool startSignalWatch(void (*notify)(OutsideRequest request));

// False where the program has one thread only (the browser): work that would
// have a thread of its own is done in place there.
bool threadsAvailable();

// Starts `body` on a thread that never takes a signal: on Linux every signal
// is blocked in it, so outside requests stay the watcher's. Only where
// threadsAvailable(); throws std::system_error when the thread cannot start.
std::thread startQuietThread(std::function<void()> body);

}  // namespace drumhold
