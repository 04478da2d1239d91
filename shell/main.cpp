// main.cpp -- the program's entry point: standard streams and signals, the
// command line, sound, then the game's run.
#include <SDL.h>

#include <cstdio>
#include <limits>
#include <memory>
#include <new>

#include "render/gl_presentation.h"
#include "replay/standard_streams.h"
#include "shell/loop.h"
#include "shell/sdl_platform.h"
#include "shell/signals.h"
#include "shell/sound.h"
#include "shell/start.h"

namespace {

using namespace drumhold;

constexpr int kOutOfMemory = 4;

int play(int argc, char** argv) {
    GameStart start(argc, argv);
    start.advance(std::numeric_limits<std::uint64_t>::max());
    if (!start.play()) return start.status();
    const std::unique_ptr<Journal> journal = start.takeJournal();

    SdlPlatform platform;
    GlPresentation presentation;
    Sound sound;
    // No cue sounds before the first frame: the title need not wait for the sound.
    return runGame(platform, presentation, sound,
                   {!start.options().windowed, journal.get(), [&sound] { sound.open(); },
                    start.options().fullscreenKind, start.options().scaleTenths});
}

}  // namespace

// On Windows SDL.h renames this function SDL_main; main_windows.cpp holds the
// program's real entry point, which joins the caller's console and calls it.
int main(int argc, char** argv) {
    replay::keepStandardStreamsOpen();
    // Before anything starts a thread, so that every thread keeps them
    // blocked, and before a record or a replay is opened: a request during
    // either waits for the window, it never ends the game.
    startSignalWatch(&SdlPlatform::noteSignal);
    try {
        return play(argc, argv);
    } catch (const std::bad_alloc&) {
        // The window, if open, is closed on the way here, the display mode given back.
        std::fputs("drumhold: out of memory\n", stderr);
        return kOutOfMemory;
    }
}
