// loop.cpp -- the entry point's outer loop, the title and the message pump.
#include "shell/loop.h"

#include "world/world.h"

namespace drumhold {

namespace {

constexpr std::uint32_t kTitleMs = 5000;

// The world's host in the running game: cues to the sound, tank lists to the
// presentation, the pacing sleeps to the platform's clock.
class GameHost final : public ListHost {
public:
    GameHost(Platform& platform, Presentation& presentation, Sound& sound)
        : ListHost(presentation), platform_(platform), sound_(sound) {}
    bool playCue(const char* name) override { return sound_.play(name); }
    void sleepMs(std::uint32_t ms) override { platform_.sleep(ms); }

private:
    Platform& platform_;
    Sound& sound_;
};

}  // namespace

void initGame(GameWindow& window, GameState& game) {
    initWorld(&game);
    window.presentation->showTitle();
    window.platform->swapBuffers();
    // No message is handled during the title: keys pressed meanwhile wait in
    // the queue and reach the table before the first frame.
    window.platform->sleep(kTitleMs);
}

void pumpMessages(GameWindow& window, GameState& game) {
    Platform& platform = *window.platform;
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
            // Esc ends the run, but this frame is still drawn and presented.
            if (!updateFrame(&game, window.keys, now - window.lastTick)) requestQuit(window);
            window.lastTick = now;
            window.presentation->drawFrame(game);
            platform.swapBuffers();
        } else {
            platform.waitMessage();
        }
    }
}

int runGame(Platform& platform, Presentation& presentation, Sound& sound) {
    GameWindow window;
    window.platform = &platform;
    window.presentation = &presentation;
    if (!registerGameWindowClass(platform)) {
        platform.messageBox("Error Registering Window Class!");
        return -1;
    }

    GameHost host(platform, presentation, sound);
    GameState game{};
    game.host = &host;

    window.running = true;
    while (window.running) {
        window.fullscreen = window.fullscreenWanted;
        if (!openGameWindow(window)) {
            platform.messageBox("Error Creating OpenGL Window");
            window.running = false;
            break;
        }
        presentation.contextOpened();
        initGame(window, game);
        pumpMessages(window, game);
        // The world stays: the next opening puts a fresh game in its place.
        presentation.contextClosing();
        closeGameWindow(window);
    }

    releaseWorld(&game);
    unregisterGameWindowClass(platform);
    return 0;
}

}  // namespace drumhold
