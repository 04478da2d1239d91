// window.h -- the game window: its records, opening, closing and window procedure.
//
// One `WindowClassInfo` and one `GameWindow` live for the whole run (the loop
// owns them) and serve every window opened, fullscreen or windowed. The window
// procedure turns the shell's messages into the key table, the `active` flag,
// the viewport, close requests and the display switch.
#pragma once

#include <cstdint>

#include "shell/platform.h"
#include "shell/presentation.h"

namespace drumhold {

inline constexpr int kKeyCount = 256;

struct WindowClassInfo {
    Platform* platform = nullptr;  // the host that owns the class, windows and clock
    const char* className = "OpenGL";
};

struct GameWindow {
    int* keys = nullptr;                     // the key table: kKeyCount ints by virtual-key code
    int open = 0;                            // a window and its context exist
    WindowClassInfo* windowClass = nullptr;
    Presentation* presentation = nullptr;    // draws into the window's context
    const char* title = "zandrel";
    int width = 800;
    int height = 600;
    int bits = 16;
    int fullscreen = 1;     // asks the next opening for fullscreen; 0 after a refused switch
    int active = 0;         // shown and not minimised: frames run only then
    std::uint32_t lastTick = 0;

    Platform& platform() const { return *windowClass->platform; }
};

// Brings the host's video up; on failure says "RegisterClassEx Failed!". 1 or 0.
int registerGameWindowClass(WindowClassInfo& classInfo);
void unregisterGameWindowClass(WindowClassInfo& classInfo);

// Opens the window with everything it needs; 1 on success, 0 on failure (with
// no box of its own apart from the display-mode warning).
int openGameWindow(GameWindow& window);
// Releases the window and restores the display mode after fullscreen. Returns 1.
int closeGameWindow(GameWindow& window);
// 1 when the display now runs at width x height x bits.
int switchDisplayMode(Platform& platform, int width, int height, int bits);

// Handles one message; true when consumed, false when left to default handling.
bool gameWindowProc(GameWindow& window, const ShellMessage& message);

// Routes `requestQuit` to this platform's quit message (nullptr: no poster).
void attachQuitPoster(Platform* platform);

}  // namespace drumhold
