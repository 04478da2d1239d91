// loop.cpp -- the entry point's outer loop and the message pump.
#include "shell/loop.h"

#include <array>

#include "shell/game_host.h"
#include "shell/modes.h"
#include "world/game.h"

namespace drumhold {

void pumpMessages(GameWindow& window) {
    Platform& platform = window.platform();
    for (;;) {
        ShellMessage message;
        if (platform.takeMessage(message)) {
            if (message.type == MessageType::Quit) return;
            gameWindowProc(window, message);
            continue;
        }
        if (window.active) {
            // The sleep of one update lies inside the interval measured for the
            // next, so frames alternate between sleeping and not; one update is
            // always exactly one tick, whatever the elapsed time.
            const std::uint32_t now = platform.tickCount();
            updateFrame(now - window.lastTick);
            window.lastTick = now;
            window.presentation->drawFrame();
            platform.swapBuffers();
        } else {
            platform.waitMessage();
        }
    }
}

int runGame(Platform& platform, Presentation& presentation) {
    WindowClassInfo classInfo;
    classInfo.platform = &platform;
    std::array<int, kKeyCount> keys{};
    GameWindow window;
    window.keys = keys.data();
    window.windowClass = &classInfo;
    window.presentation = &presentation;

    if (!registerGameWindowClass(classInfo)) {
        platform.messageBox("Error Registering Window Class!");
        return -1;
    }

    GameHost host(platform, presentation);
    WorldHost* previousHost = setWorldHost(&host);
    attachQuitPoster(&platform);

    running = 1;
    fullscreenWanted = window.fullscreen;
    bool worldBuilt = false;
    while (running) {
        window.fullscreen = fullscreenWanted;
        if (!openGameWindow(window)) {
            platform.messageBox("Error Creating OpenGL Window");
            running = 0;
            break;
        }
        host.contextOpened();
        initGame(window, keys.data());
        worldBuilt = true;
        pumpMessages(window);
        // The world stays: the next opening puts a fresh game in its place.
        closeGameWindow(window);
        host.contextClosed();
    }

    if (worldBuilt) releaseWorld();
    attachQuitPoster(nullptr);
    setWorldHost(previousHost);
    unregisterGameWindowClass(classInfo);
    return 0;
}

int runGame(Platform& platform) { return runGame(platform, openGlPresentation()); }

}  // namespace drumhold
