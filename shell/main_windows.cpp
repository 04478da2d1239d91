// main_windows.cpp -- the program's entry point on Windows.
//
// The game is a windowed program: started from Explorer it opens no console
// window. Started from a console it joins that console, so the lines it writes
// on standard error are read there as on Linux (streams the caller redirected
// stay where they go) and Ctrl+C there asks it to close (signals.h). Then
// the game runs as on Linux.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>

#include "shell/start.h"

namespace {

bool handed(DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

void reachParentConsole() {
    const bool out = handed(STD_OUTPUT_HANDLE);
    const bool err = handed(STD_ERROR_HANDLE);
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;  // no console: started from Explorer
    if (!out) std::freopen("CONOUT$", "w", stdout);
    if (!err) std::freopen("CONOUT$", "w", stderr);
}

}  // namespace

int main(int argc, char* argv[]) {
    reachParentConsole();
    SDL_SetMainReady();
    return drumhold::enterGame(argc, argv, &drumhold::playToEnd);
}
