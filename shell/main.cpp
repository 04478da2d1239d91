// main.cpp -- the program's entry point: signals, sound, then the game's run.
#include "render/gl_presentation.h"
#include "shell/loop.h"
#include "shell/sdl_platform.h"
#include "shell/signals.h"
#include "shell/sound.h"

int main(int, char**) {
    // Before anything starts a thread, so that every thread keeps them blocked.
    drumhold::startSignalWatch(&drumhold::SdlPlatform::noteSignal);
    drumhold::SdlPlatform platform;
    drumhold::GlPresentation presentation;
    drumhold::Sound sound;
    sound.open();
    return drumhold::runGame(platform, presentation, sound);
}
