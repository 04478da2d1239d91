// loop.h -- the program's run: the outer loop, the message pump and the title.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "render/presentation.h"
#include "replay/block.h"
#include "replay/session.h"
#include "shell/journal.h"
#include "shell/platform.h"
#include "shell/sound.h"
#include "shell/window.h"
#include "world/records.h"

namespace drumhold {

// The world's host in the running game: cues to the sound, tank lists to the
// presentation, the pacing sleeps to the platform's clock.
class GameHost final : public ListHost {
public:
    GameHost(Platform& platform, Presentation& presentation, Sound& sound)
        : ListHost(presentation), platform_(platform), sound_(sound) {}
    bool playCue(const char* name) override { return sound_.play(name); }
    void sleepMs(std::uint32_t ms) override { platform_.sleep(ms); }

private:
    Platform& platform_;
    Sound& sound_;
};

// Everything one run of the game plays with. The world runs in the session
// that recorded games are checked against; the window adds pacing, drawing and
// sound around it.
struct GameSession {
    GameSession(Platform& platform, Presentation& presentation, Sound& sound, Journal& journal);

    GameWindow window;
    GameHost host;
    replay::Session world{&host};  // frames count across windows
    Journal& journal;
    std::function<void()> afterTitle;  // done once, while the first title is shown

    replay::FrameView view() const { return world.view(); }
};

struct RunOptions {
    bool fullscreen = true;      // false: the window from the start
    Journal* journal = nullptr;  // a recorded or replayed game; none: neither
    // Start-up work that can wait until the title is on the screen (it is
    // done within the title's 5 s).
    std::function<void()> afterTitle;
    FullscreenKind fullscreenKind = FullscreenKind::SwitchMode;
    int scaleTenths = 0;  // the window at this scale (10..80, kScaleFit); 0: 800x600
};

// The whole run on `platform`, drawing with `presentation` and playing cues on
// `sound`: start the video system, then open a window, show the title, pump
// messages and run frames until the quit message, close, and again while
// `running` is set (a display switch). Returns the exit code: 0 after a normal end, 1 when a window
// cannot be opened (at the start or after a display switch), -1 when the video
// system cannot be brought up. It is GameRun's turns, one after the other.
int runGame(Platform& platform, Presentation& presentation, Sound& sound, const RunOptions& options = {});

// What a turn of the run leaves to its caller.
enum class RunTurn {
    Go,           // take the next turn
    WaitMessage,  // the window is minimised: take the next turn once a message is there
    Ended,        // the run is over: status()
};

// The run cut into turns, for a host that must not block (a browser gives its
// page one thread, and its timers and display frames call the game): the
// start, a window's opening with its title, or a turn of the message pump
// (which may be a title again, or a piece of a replay's file, for the
// journal). The turns make the same platform calls in the same order as
// runGame, which only takes them one after the other and waits for a message
// when told to. A platform that cannot block leaves its sleeps to the caller,
// to wait out before the next turn.
class GameRun {
public:
    GameRun(Platform& platform, Presentation& presentation, Sound& sound, const RunOptions& options);
    RunTurn turn();
    // The exit code, once the run has ended.
    int status() const { return status_; }
    const GameSession& session() const { return session_; }

private:
    enum class Stage { Start, Open, Pump, Done };
    RunTurn finish();

    Journal none_;
    GameSession session_;
    Presentation& presentation_;
    RunOptions options_;  // how windows open; its journal and afterTitle are the session's
    Stage stage_ = Stage::Start;
    bool first_ = true;
    int status_ = 0;
};

// A fresh game on the current window, its title shown for 5000 ms, during which
// the session's afterTitle work is done, the first time. A close request cuts
// the title short (and so does Esc when the journal says so); other messages
// wait in the queue for the first frame.
void initGame(GameSession& session);

// Takes and dispatches messages, running a frame whenever none is pending and
// the window is active, until the quit message.
void pumpMessages(GameSession& session);

// One turn of the pump: every pending message, then, if the window is active,
// what the journal wants before the next frame (a title again, a piece of a
// replay's file read) or else the frame. What ended it:
enum class PumpTurn { Frame, NoFrame, Inactive, Quit };
PumpTurn pumpTurn(GameSession& session);

}  // namespace drumhold
