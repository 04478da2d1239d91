// window.cpp -- opening, closing and the window procedure of the game window.
#include "shell/window.h"

namespace drumhold {

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

bool openGameWindow(GameWindow& window) {
    Platform& platform = *window.platform;
    if (!platform.openWindow(window.title, window.width, window.height, window.fullscreen)) return false;
    window.open = true;

    if (window.fullscreen && !platform.switchDisplayMode(window.width, window.height, window.bits)) {
        // The game still runs, in an ordinary window; closing must then leave
        // the display mode alone.
        platform.leaveFullscreen(window.width, window.height);
        platform.messageBox("Mode Switch Failed.\nRunning In Windowed Mode.");
        window.fullscreen = false;
    }

    window.active = true;
    window.presentation->setViewport(window.width, window.height);
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
        window.presentation->setViewport(message.width, message.height);
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
