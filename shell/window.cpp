// window.cpp -- opening, closing and the window procedure of the game window.
#include "shell/window.h"

#include <cstdio>

namespace drumhold {

namespace {

// The picture in a width x height client area: stretched over all of it, as
// the 800x600 window has it, or kept in shape in a scaled one.
Viewport pictureFor(const GameWindow& window, int width, int height) {
    return window.keepShape ? pictureIn(width, height) : Viewport{0, 0, width, height};
}

}  // namespace

bool startVideo(Platform& platform) {
    if (!platform.initVideo()) {
        platform.messageBox("RegisterClassEx Failed!");
        return false;
    }
    return true;
}

void stopVideo(Platform& platform) { platform.quitVideo(); }

void requestQuit(GameWindow& window) {
    window.platform->postQuit();
    window.running = false;
}

void scaleWindow(GameWindow& window, int scaleTenths) {
    window.keepShape = true;
    if (scaleTenths == 0) return;
    const bool fit = scaleTenths == kScaleFit;
    if (!fit) {
        window.windowWidth = window.width * scaleTenths / 10;
        window.windowHeight = window.height * scaleTenths / 10;
    }
    int usableWidth = 0;
    int usableHeight = 0;
    if (!window.platform->displaySize(true, usableWidth, usableHeight) || usableWidth <= 0 || usableHeight <= 0) {
        if (fit) std::fprintf(stderr, "drumhold: the display does not tell its size; the window stays 800x600\n");
        return;
    }
    if (!fit && window.windowWidth <= usableWidth && window.windowHeight <= usableHeight) return;
    const Viewport largest = pictureIn(usableWidth, usableHeight);
    if (!fit)
        std::fprintf(stderr, "drumhold: a %dx%d window does not fit the display's usable %dx%d; it opens at %dx%d\n",
                     window.windowWidth, window.windowHeight, usableWidth, usableHeight, largest.width,
                     largest.height);
    window.windowWidth = largest.width;
    window.windowHeight = largest.height;
}

bool openGameWindow(GameWindow& window) {
    Platform& platform = *window.platform;
    // The mode switch needs a window of the mode's size, covering the display
    // a window of the display's; every other window opens at its scale.
    const bool switchMode = window.fullscreen && window.fullscreenKind == FullscreenKind::SwitchMode;
    int width = switchMode ? window.width : window.windowWidth;
    int height = switchMode ? window.height : window.windowHeight;
    const bool coverable = window.fullscreen && !switchMode && platform.displaySize(false, width, height);
    if (!platform.openWindow(window.title, width, height, window.fullscreen)) return false;
    window.open = true;

    const bool fullscreenHeld =
        !window.fullscreen || (switchMode ? platform.switchDisplayMode(width, height, window.bits)
                                          : coverable && platform.coverDisplay(width, height));
    if (!fullscreenHeld) {
        // The game still runs, in an ordinary window at its scale; closing
        // must then leave the display alone. Only a refused mode switch has a
        // box: covering the display asks nothing of it.
        platform.leaveFullscreen(window.windowWidth, window.windowHeight);
        if (switchMode)
            platform.messageBox("Mode Switch Failed.\nRunning In Windowed Mode.");
        else
            std::fprintf(stderr, "drumhold: the display cannot be covered; the game goes on in a window\n");
        window.fullscreen = false;
        width = window.windowWidth;
        height = window.windowHeight;
    }

    window.active = true;
    window.picture = pictureFor(window, width, height);
    window.presentation->setViewport(window.picture);
    window.presentation->setClearValues();
    window.keys.fill(0);
    window.lastTick = platform.tickCount();
    return true;
}

void closeGameWindow(GameWindow& window) {
    Platform& platform = *window.platform;
    if (window.open) {
        platform.closeWindow();
        window.open = false;
    }
    if (window.fullscreen) platform.restoreDisplayMode();
}

bool gameWindowProc(GameWindow& window, const ShellMessage& message) {
    switch (message.type) {
    case MessageType::SizeRestored:
        window.active = true;
        window.picture = pictureFor(window, message.width, message.height);
        window.presentation->setViewport(window.picture);
        return true;
    case MessageType::SizeMinimised:
        window.active = false;
        return true;
    case MessageType::Close:
        // The loop destroys the window once the pump has ended.
        requestQuit(window);
        return true;
    case MessageType::KeyDown:
    case MessageType::KeyUp:
        // Only codes that index the table touch it.
        if (message.code >= static_cast<unsigned>(kKeyCount)) return false;
        window.keys[message.code] = message.type == MessageType::KeyDown ? 1 : 0;
        return true;
    case MessageType::SwitchDisplay:
        // The switch works on the wanted mode, not the one in force: after a
        // refused mode switch the first request gives a windowed window again.
        window.fullscreenWanted = !window.fullscreenWanted;
        window.platform->postQuit();
        return false;
    case MessageType::SizeOther:
    case MessageType::Quit:
        return false;
    }
    return false;
}

}  // namespace drumhold
