// signals_windows.cpp -- requests from outside on Windows.
//
// The display switch is the private message 1025 (WM_APP + 1) that another
// program posts to the game's window (see the README). Close requests come
// from the console the game was started from (Ctrl+C, Ctrl+Break, closing it)
// and from the end of the session (log-off, shut-down).
#include "shell/signals.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <SDL.h>

#include <thread>
#include <utility>

namespace drumhold {

namespace {

constexpr unsigned kSwitchMessage = WM_APP + 1;
// Once the console has closed or the session ends, Windows ends the process
// soon after its handler returns; the game closes within this.
constexpr DWORD kCloseGraceMs = 4000;

void (*notifyRequest)(OutsideRequest) = nullptr;

// SDL shows the hook every message it takes from the game thread's queue, so
// a message posted to the game's window arrives here whichever window is open.
void SDLCALL messageHook(void*, void*, unsigned int message, Uint64, Sint64) {
    if (message == kSwitchMessage) notifyRequest(OutsideRequest::SwitchDisplay);
}

BOOL WINAPI consoleEvent(DWORD event) {
    notifyRequest(OutsideRequest::Close);
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) Sleep(kCloseGraceMs);
    return TRUE;
}

// The end of the session is told to every top-level window by a sent message,
// which SDL's hook never sees; a hidden window of our own, on its own thread,
// hears it whatever the game's window is doing.
LRESULT CALLBACK sessionWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_QUERYENDSESSION:
        notifyRequest(OutsideRequest::Close);
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) Sleep(kCloseGraceMs);  // the process ends once this returns
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void watchSession() {
    WNDCLASSW type{};
    type.lpfnWndProc = sessionWindowProc;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = L"drumhold session";
    if (RegisterClassW(&type) == 0) return;
    if (!CreateWindowExW(0, type.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, type.hInstance,
                         nullptr))
        return;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
}

}  // namespace

bool startSignalWatch(void (*notify)(OutsideRequest request)) {
    notifyRequest = notify;
    SDL_SetWindowsMessageHook(messageHook, nullptr);
    if (!SetConsoleCtrlHandler(consoleEvent, TRUE)) return false;
    try {
        std::thread(watchSession).detach();
    } catch (...) {
        return false;
    }
    return true;
}

bool threadsAvailable() { return true; }

std::thread startQuietThread(std::function<void()> body) { return std::thread(std::move(body)); }

}  // namespace drumhold
