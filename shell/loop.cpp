// loop.cpp -- the entry point's outer loop, the title and the message pump.
#include "shell/loop.h"

#include <utility>

#include "replay/script.h"

namespace drumhold {

namespace {
constexpr std::uint32_t kTitleMs = 5000;
// A launcher or script must be able to tell that the game never ran (or lost
// its window after a display switch): that is a failure, not a normal end.
constexpr int kNoWindow = 1;
}  // namespace

GameSession::GameSession(Platform& platform, Presentation& presentation, Sound& sound, Journal& journal)
    : host(platform, presentation, sound), journal(journal) {
    window.platform = &platform;
    window.presentation = &presentation;
}

void initGame(GameSession& session) {
    session.world.init();
    Platform& platform = *session.window.platform;
    session.window.presentation->showTitle();
    platform.swapBuffers();
    const std::uint32_t shown = platform.tickCount();
    if (session.afterTitle) std::exchange(session.afterTitle, nullptr)();
    const std::uint32_t spent = platform.tickCount() - shown;
    // No message is handled during the title: keys pressed meanwhile wait in
    // the queue and reach the table before the first frame. A request to end
    // only shortens the wait; the pump then handles it.
    platform.sleepUnlessEnding(spent < kTitleMs ? kTitleMs - spent : 0, session.journal.escapeEndsTitle());
}

void pumpMessages(GameSession& session) {
    GameWindow& window = session.window;
    Platform& platform = *window.platform;
    for (;;) {
        ShellMessage message;
        if (platform.takeMessage(message)) {
            if (message.type == MessageType::Quit) return;
            gameWindowProc(window, message);
            continue;
        }
        if (!window.active) {
            platform.waitMessage();
            continue;
        }
        // The sleep of one update lies inside the interval measured for the
        // next, so frames alternate between sleeping and not; one update is
        // always exactly one tick, whatever the elapsed time.
        const std::uint32_t now = platform.tickCount();
        KeyTable keys = window.keys;
        session.journal.prepareKeys(keys);
        const bool goOn = session.world.step(keys, now - window.lastTick);
        window.lastTick = now;
        // Esc ends the run, but this frame is still drawn and presented.
        if (!goOn) requestQuit(window);
        window.presentation->drawFrame(session.world.game());
        platform.swapBuffers();
        session.journal.frameDone(replay::heldKeys(keys), session.view(), now);
        while (window.running && session.journal.reinitWanted(session.view())) initGame(session);
    }
}

int runGame(Platform& platform, Presentation& presentation, Sound& sound, const RunOptions& options) {
    Journal none;
    GameSession session(platform, presentation, sound, options.journal ? *options.journal : none);
    session.afterTitle = options.afterTitle;
    GameWindow& window = session.window;
    if (!startVideo(platform)) {
        platform.messageBox("Error Registering Window Class!");
        return -1;
    }

    window.fullscreenWanted = options.fullscreen;
    window.fullscreenKind = options.fullscreenKind;
    // Either shows the picture at another size than 800x600, in its shape.
    if (options.scaleTenths != 0 || options.fullscreenKind == FullscreenKind::Desktop)
        scaleWindow(window, options.scaleTenths);
    window.running = true;
    bool first = true;
    int status = 0;
    while (window.running) {
        window.fullscreen = window.fullscreenWanted;
        if (!openGameWindow(window)) {
            platform.messageBox("Error Creating OpenGL Window");
            window.running = false;
            status = kNoWindow;
            break;
        }
        presentation.contextOpened();
        // A new context's view is the 800x600 one; a window of another size
        // shows the picture where it lies in it.
        if (window.picture != Viewport{}) presentation.setViewport(window.picture);
        if (!first) session.journal.beforeSwitch(session.view());
        initGame(session);
        if (first) session.journal.begin(session.view());
        first = false;
        while (window.running && session.journal.reinitWanted(session.view())) initGame(session);
        pumpMessages(session);
        // The world stays: the next opening puts a fresh game in its place.
        presentation.contextClosing();
        closeGameWindow(window);
    }

    if (!first) session.journal.end(session.view());
    session.world.release();
    stopVideo(platform);
    return status;
}

}  // namespace drumhold
