// start.h -- the game's start: the entry every platform's main() calls, the
// command line's options read, and the journal it names, the record to write
// or the replay to play.
//
// A replay's file is checked in full before the game starts, so that a bad
// line is refused before any window opens; the check goes a slice at a time,
// so that a host that must not block (a web page) takes its turn between
// slices, while the desktop takes them all at once.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "replay/script.h"
#include "shell/journal.h"
#include "shell/options.h"
#include "shell/recorder.h"

namespace drumhold {

// The exit status of a bad command line or FILE.
inline constexpr int kBadArguments = 2;

// Says on standard error what is wrong with the command line; kBadArguments.
int badArguments(const std::string& what);

class GameStart {
public:
    // Reads the command line and opens the journal: done() at once unless a
    // replay's file is to be checked (or --help, --version, a bad line).
    GameStart(int argc, char** argv);
    ~GameStart();
    GameStart(const GameStart&) = delete;
    GameStart& operator=(const GameStart&) = delete;

    // Checks up to `steps` more instructions of a replay's file; true once
    // done.
    bool advance(std::uint64_t steps);
    bool done() const { return done_; }
    // Once done: true when the game is to run; otherwise the program ends
    // with status(), its message said.
    bool play() const { return play_; }
    int status() const { return status_; }
    const Options& options() const { return options_; }
    // The journal; null for a game neither recorded nor replayed.
    std::unique_ptr<Journal> takeJournal() { return std::move(journal_); }
    // The journal's replay, if it has one (it goes with the journal).
    const Replayer* replayer() const { return replayer_; }

private:
    void end(int status, bool play = false);
    void openJournal();

    Options options_;
    std::unique_ptr<Journal> journal_;
    std::unique_ptr<Recorder> recorder_;  // a record opened before its replay is checked
    const Replayer* replayer_ = nullptr;
    std::FILE* replayFile_ = nullptr;  // while it is checked
    std::optional<replay::ScriptFileCheck> check_;
    int status_ = 0;
    bool done_ = false;
    bool play_ = false;
};

// The exit status when memory runs out.
inline constexpr int kOutOfMemory = 4;

// How a platform plays the game once its start is made: the desktop to the
// end in one call (playToEnd), a page in turns that its own callbacks take.
using Play = int (*)(std::unique_ptr<GameStart> start);

// The game's entry, which each platform's main() calls (main.cpp,
// main_windows.cpp, main_web.cpp) once its own preparations are done: the
// standard streams kept open and the signal watch started first, then the
// command line read, then `play`. Running out of memory ends the program with
// a message and kOutOfMemory.
int enterGame(int argc, char** argv, Play play);

// The desktop's play: a replay's file checked in full, then the window's run
// to its end; the exit status.
int playToEnd(std::unique_ptr<GameStart> start);

}  // namespace drumhold
