// loop.cpp -- the entry point's outer loop, the title and the message pump.
#include "shell/loop.h"

#include <utility>

#include "data/keys.h"
#include "replay/script.h"

namespace drumhold {

namespace {
constexpr std::uint32_t kTitleMs = 5000;
// A launcher or script must be able to tell that the game never ran (or lost
// its window after a display switch): that is a failure, not a normal end.
constexpr int kNoWindow = 1;

// One frame: the update with the keys as they are now, then its picture.
void runFrame(GameSession& session) {
    GameWindow& window = session.window;
    Platform& platform = *window.platform;
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
}

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

PumpTurn pumpTurn(GameSession& session) {
    GameWindow& window = session.window;
    ShellMessage message;
    while (window.platform->takeMessage(message)) {
        if (message.type == MessageType::Quit) return PumpTurn::Quit;
        gameWindowProc(window, message);
    }
    if (!window.active) return PumpTurn::Inactive;
    // A replay may initialise the world again first (the turn ends with its
    // title), or read on: then the messages come first again (Esc held ends
    // the run, as at any frame).
    switch (session.journal.beforeFrame(session.view())) {
    case Before::Reinit:
        initGame(session);
        return PumpTurn::NoFrame;
    case Before::ReadOn:
        if (window.keys[vk::escape] != 0) requestQuit(window);
        return PumpTurn::NoFrame;
    case Before::Frame:
        break;
    }
    runFrame(session);
    return PumpTurn::Frame;
}

void pumpMessages(GameSession& session) {
    for (;;) {
        switch (pumpTurn(session)) {
        case PumpTurn::Quit:
            return;
        case PumpTurn::Inactive:
            session.window.platform->waitMessage();
            break;
        case PumpTurn::Frame:
        case PumpTurn::NoFrame:
            break;
        }
    }
}

GameRun::GameRun(Platform& platform, Presentation& presentation, Sound& sound, const RunOptions& options)
    : session_(platform, presentation, sound, options.journal ? *options.journal : none_),
      presentation_(presentation),
      options_(options) {
    session_.afterTitle = options.afterTitle;
}

RunTurn GameRun::turn() {
    GameWindow& window = session_.window;
    Platform& platform = *window.platform;
    switch (stage_) {
    case Stage::Start:
        if (!startVideo(platform)) {
            platform.messageBox("Error Registering Window Class!");
            status_ = -1;
            stage_ = Stage::Done;
            return RunTurn::Ended;
        }
        window.fullscreenWanted = options_.fullscreen;
        window.fullscreenKind = options_.fullscreenKind;
        // Either shows the picture at another size than 800x600, in its shape.
        if (options_.scaleTenths != 0 || options_.fullscreenKind == FullscreenKind::Desktop)
            scaleWindow(window, options_.scaleTenths);
        window.running = true;
        stage_ = Stage::Open;
        return RunTurn::Go;
    case Stage::Open:
        if (!window.running) return finish();
        window.fullscreen = window.fullscreenWanted;
        if (!openGameWindow(window)) {
            platform.messageBox("Error Creating OpenGL Window");
            window.running = false;
            status_ = kNoWindow;
            return finish();
        }
        presentation_.contextOpened();
        // A new context's view is the 800x600 one; a window of another size
        // shows the picture where it lies in it.
        if (window.picture != Viewport{}) presentation_.setViewport(window.picture);
        if (!first_) session_.journal.beforeSwitch(session_.view());
        initGame(session_);
        if (first_) session_.journal.begin(session_.view());
        first_ = false;
        stage_ = Stage::Pump;
        return RunTurn::Go;
    case Stage::Pump:
        switch (pumpTurn(session_)) {
        case PumpTurn::Quit:
            // The world stays: the next opening puts a fresh game in its place.
            presentation_.contextClosing();
            closeGameWindow(window);
            stage_ = Stage::Open;
            return RunTurn::Go;
        case PumpTurn::Inactive:
            return RunTurn::WaitMessage;
        case PumpTurn::Frame:
        case PumpTurn::NoFrame:
            return RunTurn::Go;
        }
        break;
    case Stage::Done:
        break;
    }
    return RunTurn::Ended;
}

RunTurn GameRun::finish() {
    if (!first_) session_.journal.end(session_.view());
    session_.world.release();
    stopVideo(*session_.window.platform);
    stage_ = Stage::Done;
    return RunTurn::Ended;
}

int runGame(Platform& platform, Presentation& presentation, Sound& sound, const RunOptions& options) {
    GameRun run(platform, presentation, sound, options);
    for (;;) {
        switch (run.turn()) {
        case RunTurn::Go:
            break;
        case RunTurn::WaitMessage:
            platform.waitMessage();
            break;
        case RunTurn::Ended:
            return run.status();
        }
    }
}

}  // namespace drumhold
