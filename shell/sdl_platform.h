// sdl_platform.h -- the platform on SDL2: window, OpenGL context, events, clock.
//
// One game window at a time. SDL events of that window become shell messages:
// keys (with auto-repeat) through the virtual-key table, game controllers as
// the same keys (gamepad.h), minimise, restore and resize, close requests;
// requests from outside handed to `noteSignal` (signals.h) become the display
// switch and close requests.
#pragma once

#include <SDL.h>

#include <deque>

#include "shell/gamepad.h"
#include "shell/platform.h"
#include "shell/signals.h"

namespace drumhold {

// Not final: the page and the benchmarks change a few of its calls.
class SdlPlatform : public Platform {
public:
    SdlPlatform() = default;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;
    ~SdlPlatform() override;

    bool initVideo() override;
    void quitVideo() override;
    bool displaySize(bool usable, int& width, int& height) override;
    bool openWindow(const char* title, int width, int height, bool fullscreen) override;
    bool switchDisplayMode(int width, int height, int bits) override;
    bool coverDisplay(int& width, int& height) override;
    void leaveFullscreen(int width, int height) override;
    void closeWindow() override;
    void restoreDisplayMode() override;
    bool takeMessage(ShellMessage& out) override;
    void waitMessage() override;
    void postQuit() override;
    std::uint32_t tickCount() override;
    void sleep(std::uint32_t ms) override;
    bool sleepUnlessEnding(std::uint32_t ms, bool escapeEnds) override;
    void swapBuffers() override;
    void messageBox(const char* text) override;

    // Safe to call from any thread at any time (see signals.h).
    static void noteSignal(OutsideRequest request);

    SDL_Window* sdlWindow() const { return window_; }

private:
    bool translate(const SDL_Event& event, ShellMessage& out) const;
    // True when a pending message ends the run (endsTheRun); takes none.
    bool endPending(bool escapeEnds);
    bool displayRunsAt(int width, int height) const;
    void showCursor();

    bool videoUp_ = false;
    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    Uint32 windowId_ = 0;
    bool cursorHidden_ = false;
    Gamepads pads_;
    std::deque<ShellMessage> waiting_;  // translated but not yet taken
};

// SDL keys to the virtual-key codes of the key table (keymap.cpp). The key
// table is indexed by the classic desktop virtual-key numbering (shift 16,
// space 32, Esc 27, arrows 37-40, letters 65-90 ...). Every SDL key with such a
// code maps to it; both shifts, both controls and both alts map to their
// common code. Keys without one give 0 and are ignored.
int virtualKeyFor(SDL_Keycode key);

}  // namespace drumhold
