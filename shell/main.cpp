// main.cpp -- the program's entry point: the command line, signals, sound,
// then the game's run.
#include <SDL.h>

#include <limits>
#include <memory>

#include "render/gl_presentation.h"
#include "shell/loop.h"
#include "shell/sdl_platform.h"
#include "shell/signals.h"
#include "shell/sound.h"
#include "shell/start.h"

// On Windows SDL.h renames this function SDL_main; main_windows.cpp holds the
// program's real entry point, which joins the caller's console and calls it.
int main(int argc, char** argv) {
    using namespace drumhold;
    GameStart start(argc, argv);
    start.advance(std::numeric_limits<std::uint64_t>::max());
    if (!start.play()) return start.status();
    const std::unique_ptr<Journal> journal = start.takeJournal();

    // Before anything starts a thread, so that every thread keeps them blocked.
    startSignalWatch(&SdlPlatform::noteSignal);
    SdlPlatform platform;
    GlPresentation presentation;
    Sound sound;
    // No cue sounds before the first frame: the title need not wait for the sound.
    return runGame(platform, presentation, sound,
                   {!start.options().windowed, journal.get(), [&sound] { sound.open(); },
                    start.options().fullscreenKind, start.options().scaleTenths});
}
