// platform.h -- what the shell's loop and window need from the host system.
//
// One narrow interface: bring the video system up and down, open and close the
// game window with its OpenGL context, switch the display mode for fullscreen
// or cover the display at its own, tell the display's usable size,
// take or wait for the window's messages, post the quit message, read the
// millisecond clock, sleep, present a frame and show a warning box. The SDL
// implementation lives in sdl_platform.cpp; the tests drive the very same loop
// with a fake clock and a scripted message queue.
#pragma once

#include <cstdint>

namespace drumhold {

// The shell's own message vocabulary, delivered to `gameWindowProc`.
enum class MessageType {
    KeyDown,        // code = virtual-key code (auto-repeat sends it again)
    KeyUp,          // code = virtual-key code
    SizeRestored,   // width, height = the new client size
    SizeMinimised,
    SizeOther,      // maximised and the rest: default handling only
    Close,          // the window (or the user, through a signal) asks to close
    SwitchDisplay,  // toggle fullscreen by reopening the window
    Quit,           // ends the current message pump
};

struct ShellMessage {
    MessageType type = MessageType::Quit;
    unsigned code = 0;  // key messages; any value, the window procedure checks the range
    int width = 0;      // SizeRestored
    int height = 0;
};

// A message that asks to end the run: a close request, or with `escapeEnds` a
// press of Esc (virtual-key code 27).
inline bool endsTheRun(const ShellMessage& message, bool escapeEnds) {
    return message.type == MessageType::Close ||
           (escapeEnds && message.type == MessageType::KeyDown && message.code == 27);
}

class Platform {
public:
    virtual ~Platform() = default;

    // Brings the video system up; false when that is impossible.
    virtual bool initVideo() = 0;
    virtual void quitVideo() = 0;
    // The size of the display that windows open on: all of it, or (`usable`)
    // the part a window may take, without panels and task bars; false when
    // it cannot be told.
    virtual bool displaySize(bool usable, int& width, int& height) = 0;

    // Opens and shows the game window with a current double-buffered OpenGL
    // context. `fullscreen` asks for a borderless, topmost window at (0, 0)
    // with the cursor hidden, ready for `switchDisplayMode` or `coverDisplay`;
    // otherwise an ordinary window whose client area is width x height. All
    // or nothing.
    virtual bool openWindow(const char* title, int width, int height, bool fullscreen) = 0;
    // Switches the display under the open fullscreen window to width x height
    // at `bits` per pixel; true only when the display really runs in that mode.
    virtual bool switchDisplayMode(int width, int height, int bits) = 0;
    // Makes the open fullscreen window, opened at the display's whole size,
    // the display's fullscreen window at its own resolution, leaving the mode
    // alone; true, with the size of its drawing area, when it is.
    virtual bool coverDisplay(int& width, int& height) = 0;
    // After a refused switch (or cover): an ordinary window with a width x
    // height client area, cursor shown.
    virtual void leaveFullscreen(int width, int height) = 0;
    // Releases the context and the window (nothing when none is open).
    virtual void closeWindow() = 0;
    // Gives the display back its desktop mode and shows the cursor again.
    virtual void restoreDisplayMode() = 0;

    // Takes one pending message of the game window without blocking.
    virtual bool takeMessage(ShellMessage& out) = 0;
    // Blocks, using no processor time, until a message is pending.
    virtual void waitMessage() = 0;
    // Queues the quit message for the game window.
    virtual void postQuit() = 0;

    // Milliseconds since an arbitrary origin; 32 bits, wrapping.
    virtual std::uint32_t tickCount() = 0;
    virtual void sleep(std::uint32_t ms) = 0;
    // Sleeps `ms`, or less when a request to end the run waits among the
    // messages (see endsTheRun); every message stays queued. True when cut short.
    virtual bool sleepUnlessEnding(std::uint32_t ms, bool /*escapeEnds*/) {
        sleep(ms);
        return false;
    }
    virtual void swapBuffers() = 0;
    // A warning box titled "Error" with an OK button and no owner; the text
    // always goes to standard error as well.
    virtual void messageBox(const char* text) = 0;
};

}  // namespace drumhold
