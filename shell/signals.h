// signals.h -- outside requests by signal: SIGUSR1, SIGTERM, SIGINT.
//
// `kill -USR1 <pid>` asks the game to switch between fullscreen and windowed;
// SIGTERM and SIGINT ask it to close. The three are blocked in the calling
// thread, and so in every thread it starts afterwards (call this first thing in
// main, before any library starts threads), and a watcher thread takes them
// with sigwait and hands each to `notify`, on the watcher thread. A signal never
// interrupts or kills the game; it becomes a message like any other.
#pragma once

namespace drumhold {

// Returns false when the watcher could not be started (the signals then keep
// their default actions).
bool startSignalWatch(void (*notify)(int signal));

}  // namespace drumhold
