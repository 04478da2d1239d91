// window.h -- the game window: its record, opening, closing and window procedure.
//
// One `GameWindow` lives for the whole run (the loop owns it) and serves every
// window opened, fullscreen or windowed. The window procedure turns the shell's
// messages into the key table, the `active` flag, the viewport, close requests
// and the display switch.
#pragma once

#include <cstdint>

#include "data/keys.h"
#include "render/presentation.h"
#include "shell/platform.h"

namespace drumhold {

// What fullscreen means for a run: the display switched to the game's 800x600
// mode, or the display left as it is and covered by the picture made larger.
enum class FullscreenKind { SwitchMode, Desktop };

// A scale in tenths (10 to 80), or this: the largest window the display holds.
constexpr int kScaleFit = -1;

struct GameWindow {
    Platform* platform = nullptr;
    Presentation* presentation = nullptr;  // draws into the window's context
    KeyTable keys{};                       // cleared by every opening
    const char* title = "zandrel";
    int width = 800;
    int height = 600;
    int bits = 16;
    bool fullscreenWanted = true;  // the mode the next window opens in; the display switch flips it
    bool fullscreen = true;        // asks this opening for fullscreen; false after a refused switch
    FullscreenKind fullscreenKind = FullscreenKind::SwitchMode;
    // A scaled window (scaleWindow): its client size, and the picture keeps its
    // shape, centred on black, whatever size the window has. Otherwise the
    // window is 800x600 and the field is stretched over its client area.
    int windowWidth = 800;
    int windowHeight = 600;
    bool keepShape = false;
    Viewport picture;  // where the open window shows the picture
    bool running = false;          // the outer loop opens windows while set
    bool open = false;             // a window and its context exist
    bool active = false;           // shown and not minimised: frames run only then
    std::uint32_t lastTick = 0;
};

// Starts and stops the platform's video (SDL's video subsystem), around every
// window the run opens. A failed start shows the game's box for it,
// "RegisterClassEx Failed!".
bool startVideo(Platform& platform);
void stopVideo(Platform& platform);

// Sizes the windows of the run for a scale in tenths (or kScaleFit), within
// the display's usable area: a scale that does not fit gives the largest window
// that does, and says so on standard error. With a scale of 0 the window stays
// 800x600, but the picture keeps its shape from now on (desktop fullscreen).
void scaleWindow(GameWindow& window, int scaleTenths);

// Opens the window with everything it needs; false on failure (with no box of
// its own apart from the display-mode warning).
bool openGameWindow(GameWindow& window);
// Releases the window and restores the display mode after fullscreen.
void closeGameWindow(GameWindow& window);

// Handles one message; true when consumed, false when left to default handling.
bool gameWindowProc(GameWindow& window, const ShellMessage& message);

// Ends the run: posts the quit message and clears `running`.
void requestQuit(GameWindow& window);

}  // namespace drumhold
