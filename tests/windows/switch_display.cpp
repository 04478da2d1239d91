// switch_display.cpp -- asks the running game to switch between fullscreen and
// windowed, as any program may: the message 1025 (WM_APP + 1) posted to the
// window titled "zandrel". Exit status 1 when no such window is open.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

int main() {
    const HWND game = FindWindowW(nullptr, L"zandrel");
    return game && PostMessageW(game, WM_APP + 1, 0, 0) ? 0 : 1;
}
