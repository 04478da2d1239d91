// window.cpp -- opening, closing and the window procedure of the game window.
#include "shell/window.h"

#include <algorithm>

#include "shell/modes.h"

namespace drumhold {

namespace {

Platform* quitTarget = nullptr;

void postQuitToTarget() {
    if (quitTarget) quitTarget->postQuit();
}

}  // namespace

void attachQuitPoster(Platform* platform) {
    quitTarget = platform;
    setQuitPoster(platform ? &postQuitToTarget : nullptr);
}

int registerGameWindowClass(WindowClassInfo& classInfo) {
    if (!classInfo.platform->initVideo()) {
        classInfo.platform->messageBox("RegisterClassEx Failed!");
        return 0;
    }
    return 1;
}

void unregisterGameWindowClass(WindowClassInfo& classInfo) { classInfo.platform->quitVideo(); }

int switchDisplayMode(Platform& platform, int width, int height, int bits) {
    return platform.switchDisplayMode(width, height, bits) ? 1 : 0;
}

int openGameWindow(GameWindow& window) {
    Platform& platform = window.platform();
    const bool fullscreen = window.fullscreen == 1;
    if (!platform.openWindow(window.title, window.width, window.height, fullscreen)) return 0;
    window.open = 1;

    if (fullscreen && !switchDisplayMode(platform, window.width, window.height, window.bits)) {
        // The game still runs, in an ordinary window; closing must then leave
        // the display mode alone.
        platform.leaveFullscreen(window.width, window.height);
        platform.messageBox("Mode Switch Failed.\nRunning In Windowed Mode.");
        window.fullscreen = 0;
    }

    window.active = 1;
    window.presentation->setViewport(window.width, window.height);
    window.presentation->setClearValues();
    std::fill(window.keys, window.keys + kKeyCount, 0);
    window.lastTick = platform.tickCount();
    return 1;
}

int closeGameWindow(GameWindow& window) {
    Platform& platform = window.platform();
    if (window.open) {
        platform.closeWindow();
        window.open = 0;
    }
    if (window.fullscreen) platform.restoreDisplayMode();
    return 1;
}

bool gameWindowProc(GameWindow& window, const ShellMessage& message) {
    switch (message.type) {
    case MessageType::SizeRestored:
        window.active = 1;
        window.presentation->setViewport(message.width, message.height);
        return true;
    case MessageType::SizeMinimised:
        window.active = 0;
        return true;
    case MessageType::Close:
        // The loop destroys the window once the pump has ended.
        requestQuit();
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
        fullscreenWanted = fullscreenWanted == 1 ? 0 : 1;
        window.platform().postQuit();
        return false;
    case MessageType::SizeOther:
    case MessageType::Quit:
        return false;
    }
    return false;
}

}  // namespace drumhold
