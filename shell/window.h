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
