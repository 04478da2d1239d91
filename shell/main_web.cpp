// main_web.cpp -- the program's entry point in a web page.
//
// A page has one thread, which the game shares with the browser's own work:
// input, drawing and sound happen only between the game's calls. So nothing
// here blocks. The run goes in turns (GameRun), each called from a timer or
// because a message arrived; the sleeps that pace the ticks and the title's
// wait are timers (PagePlatform); a replay's file is checked a few
// milliseconds at a time; and frames are drawn at the display's pace
// (DisplayPresentation). After a frame, or two that follow each other at
// once, the browser has its turn.
//
// The page (web/page.js) calls drumholdPage when it is hidden, shown or
// resized, drumholdClose to end the run as closing the window does, and
// drumholdKey for the keys of its touch controls; it is told what the player
// sees (Module.onMode: a title, the attract screen where Space starts a game,
// or play), when a replay has ended (Module.onReplayEnded) and when the run
// has (Module.onRunEnded, with the exit status).
#include <emscripten.h>
#include <emscripten/eventloop.h>

#include <memory>
#include <optional>
#include <utility>

#include "render/gl_presentation.h"
#include "shell/display_web.h"
#include "shell/loop.h"
#include "shell/page_platform_web.h"
#include "shell/replayer.h"
#include "shell/sound.h"
#include "shell/start.h"

namespace drumhold {

namespace {

// A slice of work between the browser's turns (a replay's check, frames):
// short enough to keep the page responsive.
constexpr double kSliceMs = 8.0;
// The frames of one call at most: the pacing lets two follow each other.
constexpr std::uint64_t kFramesTogether = 2;
constexpr std::uint64_t kStepsPerLook = 2048;

// web/call_soon.js: `func(arg)` once the browser has had its turn.
extern "C" void drumhold_call_soon(void (*func)(void*), void* arg);

EM_JS(void, tellReplayEnded, (), {
    if (Module['onReplayEnded']) Module['onReplayEnded']();
});

EM_JS(void, tellMode, (int mode), {
    if (Module['onMode']) Module['onMode'](['title', 'attract', 'play'][mode]);
});

EM_JS(void, tellRunEnded, (int status), {
    if (Module['onRunEnded']) Module['onRunEnded'](status);
});

class WebGame {
public:
    explicit WebGame(std::unique_ptr<GameStart> start) : start_(std::move(start)) {}
    WebGame(const WebGame&) = delete;
    WebGame& operator=(const WebGame&) = delete;

    // The first turn, once the page has had its say.
    void begin() { wakeIn(0); }
    // The game's one callback: a timer ran out, a message came, or the page
    // asked for something. Goes on until the game must wait.
    void resume();
    bool ended() const { return ended_; }
    int status() const { return status_; }

    void pageChanged(bool shown, int width, int height) {
        display_.resize(width, height);
        platform_.pageShown(shown, width, height);
    }
    void closeRequested() {
        closing_ = true;
        platform_.closeRequested();
    }
    void keyFromPage(unsigned code, bool down) { platform_.pageKey(code, down); }
    // Tells the page what the player sees, when that has changed.
    void tellPage() {
        const int now = mode();
        if (now == toldMode_) return;
        toldMode_ = now;
        tellMode(now);
    }

private:
    bool checkSome();
    void wake();
    void wakeIn(std::uint32_t ms);
    void end(int status);
    // 0: a title (or nothing yet), 1: the attract screen, 2: play.
    int mode() const {
        if (!run_ || platform_.waitsForTitle()) return 0;
        return run_->session().world.game().playing ? 2 : 1;
    }

    std::unique_ptr<GameStart> start_;
    PagePlatform platform_{[this] { wake(); }};
    GlPresentation gl_;
    DisplayPresentation display_{gl_};
    Sound sound_;
    std::unique_ptr<Journal> journal_;
    const Replayer* replayer_ = nullptr;
    std::optional<GameRun> run_;
    bool soundWanted_ = false;
    bool waitsForMessage_ = false;
    bool closing_ = false;
    bool ended_ = false;
    int status_ = 0;
    int toldMode_ = -1;
    long timer_ = 0;     // the pending timer, if any
    bool soon_ = false;  // a call is due at once
};

WebGame* game = nullptr;

void resumeGame(void*) {
    if (!game) return;
    game->resume();
    if (!game->ended()) return game->tellPage();
    const int status = game->status();
    delete std::exchange(game, nullptr);
    tellRunEnded(status);
    emscripten_force_exit(status);
}

void WebGame::wakeIn(std::uint32_t ms) {
    if (timer_) emscripten_clear_timeout(timer_);
    timer_ = 0;
    if (ms == 0) {
        if (!soon_) drumhold_call_soon(&resumeGame, nullptr);
        soon_ = true;
        return;
    }
    timer_ = emscripten_set_timeout(&resumeGame, ms, nullptr);
}

// A message came: a game that waits for one, or for the end of a title that
// a request to end the run cuts short, looks again.
void WebGame::wake() {
    if (waitsForMessage_ || platform_.waitsForTitle()) wakeIn(0);
}

bool WebGame::checkSome() {
    const double start = emscripten_get_now();
    while (!start_->advance(kStepsPerLook)) {
        if (closing_) {
            end(0);
            return false;
        }
        if (emscripten_get_now() - start >= kSliceMs) {
            wakeIn(0);
            return false;
        }
    }
    if (!start_->play()) {
        end(start_->status());
        return false;
    }
    journal_ = start_->takeJournal();
    replayer_ = start_->replayer();
    run_.emplace(platform_, display_, sound_,
                 RunOptions{!start_->options().windowed, journal_.get(), [this] { soundWanted_ = true; }});
    return true;
}

void WebGame::resume() {
    // Called at once (a message woke the game while its timer ran), the timer
    // goes: each call ends by asking for the next, and a timer left pending
    // would start a second round of calls beside the first, for good.
    if (timer_) emscripten_clear_timeout(timer_);
    timer_ = 0;
    soon_ = false;
    if (!run_ && !checkSome()) return;
    // The sound opens while the title is shown, in a call of its own: the
    // window's opening is long enough for the page to wait on.
    if (std::exchange(soundWanted_, false)) sound_.open();
    if (const std::uint32_t left = platform_.waitLeft()) return wakeIn(left);
    if (waitsForMessage_ && !platform_.messageWaiting()) return;
    waitsForMessage_ = false;
    const std::uint64_t firstFrame = run_->session().world.frame();
    const double start = emscripten_get_now();
    for (;;) {
        const RunTurn turn = run_->turn();
        if (replayer_ && !replayer_->replaying()) {
            replayer_ = nullptr;
            tellReplayEnded();
        }
        if (turn == RunTurn::Ended) return end(run_->status());
        if (platform_.startWait()) return wakeIn(soundWanted_ ? 0 : platform_.waitLeft());
        if (turn == RunTurn::WaitMessage) {
            waitsForMessage_ = true;
            if (platform_.messageWaiting()) return wakeIn(0);
            return;
        }
        // A frame that owes no sleep follows its partner at once: the two are
        // one moment to the eye, and one picture. Past that, or a slice of
        // other turns (a replay reading on through its file), the browser has
        // its turn: its input, its display.
        const std::uint64_t frames = run_->session().world.frame() - firstFrame;
        if (frames >= kFramesTogether || emscripten_get_now() - start >= kSliceMs) return wakeIn(0);
    }
}

void WebGame::end(int status) {
    ended_ = true;
    status_ = status;
}

}  // namespace

}  // namespace drumhold

// What the page calls.
extern "C" {

EMSCRIPTEN_KEEPALIVE void drumholdPage(int shown, int width, int height) {
    if (drumhold::game) drumhold::game->pageChanged(shown != 0, width, height);
}

EMSCRIPTEN_KEEPALIVE void drumholdClose() {
    if (drumhold::game) drumhold::game->closeRequested();
}

EMSCRIPTEN_KEEPALIVE void drumholdKey(int code, int down) {
    if (drumhold::game && code > 0 && code < 256) drumhold::game->keyFromPage(static_cast<unsigned>(code), down != 0);
}

}  // extern "C"

int main(int argc, char** argv) {
    // The first turn once the page has had its say (drumholdPage: the size
    // the title is drawn at); the game lives on in its callbacks.
    return drumhold::enterGame(argc, argv, [](std::unique_ptr<drumhold::GameStart> start) -> int {
        drumhold::game = new drumhold::WebGame(std::move(start));
        drumhold::game->begin();
        emscripten_exit_with_live_runtime();
    });
}
