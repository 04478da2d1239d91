// page_platform_web.h -- the platform in a web page: SDL's, with nothing that
// blocks, and the page standing for the window manager.
//
// A page has one thread, and the browser does its own work (input, drawing,
// sound) only between the game's calls. So the sleeps that pace the ticks and
// the title's wait are not slept here but owed: the caller waits them out
// with a timer before the next turn of the run (GameRun), and waiting for a
// message is its business too. The page tells the game when it is hidden or
// shown again, which is what minimising and restoring a window are to the
// game, asks it to close, and presses and releases keys for its touch
// controls: the key messages the keyboard's keys make. A message box is a
// line on standard error for the page to show, never a modal alert.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

#include "render/fixed_gl_web.h"
#include "shell/platform.h"
#include "shell/sdl_platform.h"

namespace drumhold {

// The SDL platform, with the page's messages before SDL's and waits that the
// page's turns take instead of sleeping.
class PagePlatform final : public SdlPlatform {
public:
    // `woken` is called whenever a message arrives, from the browser's event
    // handlers: a caller waiting for one (or for a title's end) can go on.
    explicit PagePlatform(std::function<void()> woken);
    ~PagePlatform() override;
    PagePlatform(const PagePlatform&) = delete;
    PagePlatform& operator=(const PagePlatform&) = delete;

    bool initVideo() override;
    void quitVideo() override;
    // The window's WebGL context comes with the fixed functions the game draws with.
    bool openWindow(const char* title, int width, int height, bool fullscreen) override;
    void closeWindow() override;
    bool takeMessage(ShellMessage& out) override;
    // The caller waits: see messageWaiting().
    void waitMessage() override {}
    void sleep(std::uint32_t ms) override { owedMs_ += ms; }
    bool sleepUnlessEnding(std::uint32_t ms, bool escapeEnds) override;
    void messageBox(const char* text) override;

    // The page is hidden (the window minimised) or shown at width x height
    // (restored); only a change is a message.
    void pageShown(bool shown, int width, int height);
    // The page asks the game to close, as the window manager would.
    void closeRequested();
    // A key of the page's touch controls (a virtual-key code) pressed or
    // released: the same message as the keyboard's key.
    void pageKey(unsigned code, bool down);

    // Between turns: turns what the last turn owes into a wait from now;
    // false when it owes nothing.
    bool startWait();
    // Milliseconds left of the wait; 0 once it is over: its time has come, or
    // a request to end the run cuts a title's wait short.
    std::uint32_t waitLeft();
    // True during a title's wait, which a request to end the run cuts short.
    bool waitsForTitle() const { return waiting_ && endable_; }
    // True when a message is pending (for a run that waits for one).
    bool messageWaiting();

private:
    static int watchEvents(void* self, SDL_Event* event);
    bool endPending(bool escapeEnds);
    // Queues one of the page's messages and wakes the caller.
    void post(const ShellMessage& message);

    std::optional<WebGlContext> gl_;  // while the window is open
    std::function<void()> woken_;
    std::deque<ShellMessage> page_;  // the page's messages, before SDL's
    bool shown_ = true;
    std::uint32_t owedMs_ = 0;
    bool owedEndable_ = false;  // what is owed is a title's wait, which a request to end cuts short
    bool escapeEnds_ = false;   // ... and Esc too
    bool waiting_ = false;
    bool endable_ = false;
    std::uint32_t waitUntil_ = 0;
};

}  // namespace drumhold
