// sdl_platform.cpp -- the platform on SDL2.
#include "shell/sdl_platform.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#include "data/keys.h"

namespace drumhold {

namespace {

// Process-wide, like the signals themselves: the watcher thread pushes events
// only while the event queue is up, and keeps what arrives meanwhile.
std::mutex signalLock;
bool acceptingSignals = false;
int pendingSwitches = 0;
bool pendingClose = false;

// Our own event types: the quit message (tagged with its window), and the two
// requests that come from signals.
Uint32 firstEventType = 0;
Uint32 quitEventType() { return firstEventType; }
Uint32 switchEventType() { return firstEventType + 1; }
Uint32 closeEventType() { return firstEventType + 2; }

constexpr Uint32 kModeGiveUpMs = 500;  // a switched mode shows up within this, or never

void pushEvent(Uint32 type, Uint32 windowId) {
    SDL_Event event{};
    event.type = type;
    event.user.windowID = windowId;
    SDL_PushEvent(&event);
}

void note(const char* what) { std::fprintf(stderr, "drumhold: %s: %s\n", what, SDL_GetError()); }

// The offscreen and dummy drivers have no screen: acceptable only on request.
bool headlessDriverNotAskedFor() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return true;
    if (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0) return false;
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    return asked == nullptr || *asked == '\0';
}

Uint32 pixelFormatFor(int bits) {
    switch (bits) {
    case 15: return SDL_PIXELFORMAT_RGB555;
    case 16: return SDL_PIXELFORMAT_RGB565;
    case 24:
    case 32: return SDL_PIXELFORMAT_RGB888;
    default: return SDL_PIXELFORMAT_UNKNOWN;
    }
}

}  // namespace

SdlPlatform::~SdlPlatform() {
    quitVideo();
    SDL_Quit();
}

void SdlPlatform::noteSignal(OutsideRequest request) {
    std::lock_guard<std::mutex> lock(signalLock);
    const bool isSwitch = request == OutsideRequest::SwitchDisplay;
    if (!acceptingSignals) {
        if (isSwitch)
            ++pendingSwitches;
        else
            pendingClose = true;
        return;
    }
    pushEvent(isSwitch ? switchEventType() : closeEventType(), 0);
}

bool SdlPlatform::initVideo() {
    if (videoUp_) return true;
    // Signals are ours (signals.h); a focus loss must not minimise the game.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        note("cannot start the video system");
        return false;
    }
    videoUp_ = true;
    if (SDL_IsTextInputActive()) SDL_StopTextInput();
    pads_.start();  // without controller support the keyboard still plays

    std::lock_guard<std::mutex> lock(signalLock);
    if (firstEventType == 0) {
        const Uint32 first = SDL_RegisterEvents(3);
        if (first != static_cast<Uint32>(-1)) firstEventType = first;
    }
    if (firstEventType != 0) {
        acceptingSignals = true;
        for (; pendingSwitches > 0; --pendingSwitches) pushEvent(switchEventType(), 0);
        if (pendingClose) pushEvent(closeEventType(), 0);
        pendingClose = false;
    }
    return true;
}

void SdlPlatform::quitVideo() {
    if (!videoUp_) return;
    {
        std::lock_guard<std::mutex> lock(signalLock);
        acceptingSignals = false;
    }
    closeWindow();
    showCursor();
    pads_.stop();
    waiting_.clear();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    videoUp_ = false;
}

bool SdlPlatform::displaySize(bool usable, int& width, int& height) {
    // Windows open at (0, 0), on the first display.
    SDL_Rect area{};
    if (!videoUp_) return false;
    if ((usable ? SDL_GetDisplayUsableBounds(0, &area) : SDL_GetDisplayBounds(0, &area)) != 0) return false;
    width = area.w;
    height = area.h;
    return true;
}

bool SdlPlatform::openWindow(const char* title, int width, int height, bool fullscreen) {
    closeWindow();
    if (!videoUp_) return false;
    if (headlessDriverNotAskedFor()) {
        std::fprintf(stderr, "drumhold: no display (SDL offers only its \"%s\" video driver)\n",
                     SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "none");
        return false;
    }

    // Double-buffered RGB 5-6-5 with no depth, stencil or alpha; fixed-function GL.
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 6);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
#ifdef __EMSCRIPTEN__
    // WebGL is GL ES to SDL; the fixed functions on it are our own (render/fixed_gl.h).
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
#else
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
#endif

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN;
    if (fullscreen) flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP;
    SDL_Window* window = SDL_CreateWindow(title, 0, 0, width, height, flags);
    if (!window) {
        note("cannot create the window");
        return false;
    }
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) {
        note("cannot create the OpenGL context");
        SDL_DestroyWindow(window);
        return false;
    }
    if (SDL_GL_MakeCurrent(window, context) != 0) {
        note("cannot make the OpenGL context current");
        SDL_GL_DeleteContext(context);
        SDL_DestroyWindow(window);
        return false;
    }
    SDL_GL_SetSwapInterval(0);

    window_ = window;
    context_ = context;
    windowId_ = SDL_GetWindowID(window);
    if (fullscreen) {
        SDL_ShowCursor(SDL_DISABLE);
        cursorHidden_ = true;
    }
    return true;
}

bool SdlPlatform::displayRunsAt(int width, int height) const {
    SDL_DisplayMode mode{};
    const int display = SDL_GetWindowDisplayIndex(window_);
    if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) return false;
    int drawableWidth = 0;
    int drawableHeight = 0;
    SDL_GL_GetDrawableSize(window_, &drawableWidth, &drawableHeight);
    return mode.w == width && mode.h == height && drawableWidth == width && drawableHeight == height;
}

bool SdlPlatform::switchDisplayMode(int width, int height, int bits) {
    if (!window_) return false;
    // Already in force (a display that runs at 800x600, like a virtual X
    // server's): the borderless window at (0, 0) covers it exactly, and asking
    // SDL would only wait for a window manager that may not be there.
    if (displayRunsAt(width, height)) return true;
    SDL_DisplayMode wanted{pixelFormatFor(bits), width, height, 0, nullptr};
    if (SDL_SetWindowDisplayMode(window_, &wanted) != 0) return false;
    if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN) != 0) return false;
    // SDL settles for the closest mode the display has (a virtual X server may
    // have just one), so believe only what the display and the window report:
    // done as soon as both say width x height, refused when they never do.
    const Uint32 start = SDL_GetTicks();
    for (;;) {
        SDL_PumpEvents();
        if (displayRunsAt(width, height)) return true;
        if (SDL_GetTicks() - start >= kModeGiveUpMs) return false;
        SDL_Delay(5);
    }
}

bool SdlPlatform::coverDisplay(int& width, int& height) {
    if (!window_) return false;
    // A window manager makes it fullscreen (above panels); with none the
    // borderless window already covers the display. It must not be resized
    // now: the first frames would be drawn at the old size.
    if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        note("cannot cover the display");
        return false;
    }
    SDL_GL_GetDrawableSize(window_, &width, &height);
    return width > 0 && height > 0;
}

void SdlPlatform::leaveFullscreen(int width, int height) {
    if (!window_) return;
    int oldWidth = 0;
    int oldHeight = 0;
    SDL_GL_GetDrawableSize(window_, &oldWidth, &oldHeight);
    SDL_SetWindowFullscreen(window_, 0);
    SDL_SetWindowBordered(window_, SDL_TRUE);
    SDL_SetWindowAlwaysOnTop(window_, SDL_FALSE);
    SDL_SetWindowSize(window_, width, height);
    SDL_SetWindowPosition(window_, 0, 0);
    showCursor();
    // Mesa's software GL takes a window's new size at its next presentation:
    // one now, so that the next picture (the title, shown for seconds) is
    // drawn at the size the window has.
    int newWidth = 0;
    int newHeight = 0;
    SDL_GL_GetDrawableSize(window_, &newWidth, &newHeight);
    if (newWidth != oldWidth || newHeight != oldHeight) SDL_GL_SwapWindow(window_);
}

void SdlPlatform::closeWindow() {
    if (!window_) return;
    SDL_GL_MakeCurrent(window_, nullptr);
    SDL_GL_DeleteContext(context_);
    // Destroying a fullscreen window also gives the display its desktop mode back.
    SDL_DestroyWindow(window_);
    window_ = nullptr;
    context_ = nullptr;
    windowId_ = 0;
    // What was taken for the old window dies with it; requests from outside stay.
    std::erase_if(waiting_, [](const ShellMessage& m) {
        return m.type != MessageType::SwitchDisplay && m.type != MessageType::Close;
    });
}

void SdlPlatform::restoreDisplayMode() { showCursor(); }

void SdlPlatform::showCursor() {
    if (!cursorHidden_) return;
    SDL_ShowCursor(SDL_ENABLE);
    cursorHidden_ = false;
}

bool SdlPlatform::translate(const SDL_Event& event, ShellMessage& out) const {
    out = ShellMessage{};
    if (event.type == SDL_QUIT) {
        out.type = MessageType::Close;
        return true;
    }
    if (event.type == SDL_WINDOWEVENT) {
        if (event.window.windowID != windowId_ || !window_) return false;
        switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            out.type = MessageType::Close;
            return true;
        case SDL_WINDOWEVENT_MINIMIZED:
            out.type = MessageType::SizeMinimised;
            return true;
        case SDL_WINDOWEVENT_MAXIMIZED:
            out.type = MessageType::SizeOther;
            return true;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
            const Uint32 flags = SDL_GetWindowFlags(window_);
            if (flags & SDL_WINDOW_MINIMIZED) return false;
            if (flags & SDL_WINDOW_MAXIMIZED) {
                out.type = MessageType::SizeOther;
                return true;
            }
            out.type = MessageType::SizeRestored;
            SDL_GL_GetDrawableSize(window_, &out.width, &out.height);
            return true;
        }
        default:
            return false;
        }
    }
    if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) {
        // Without a window manager SDL may not know which window has the
        // keyboard; such keys still belong to the game window.
        if (event.key.windowID != 0 && event.key.windowID != windowId_) return false;
        const int code = virtualKeyFor(event.key.keysym.sym);
        if (code == 0) return false;
        if (event.type == SDL_KEYDOWN) {
            const bool alt = (event.key.keysym.mod & KMOD_ALT) != 0;
            // Alt+Enter and F11 switch between fullscreen and windowed, as the
            // display-switch request from outside does; holding them switches once.
            if (code == vk::f11 || (alt && code == vk::enter)) {
                if (event.key.repeat) return false;
                out.type = MessageType::SwitchDisplay;
                return true;
            }
            // Other keys pressed with Alt, and F10, are system keys: they drive
            // the window manager, never the game. Releases always reach the table.
            if (alt || code == vk::f10) return false;
            out.type = MessageType::KeyDown;
        } else {
            out.type = MessageType::KeyUp;
        }
        out.code = static_cast<unsigned>(code);
        return true;
    }
    if (firstEventType != 0) {
        if (event.type == quitEventType()) {
            if (event.user.windowID != windowId_ || !window_) return false;
            out.type = MessageType::Quit;
            return true;
        }
        if (event.type == switchEventType()) {
            out.type = MessageType::SwitchDisplay;
            return true;
        }
        if (event.type == closeEventType()) {
            out.type = MessageType::Close;
            return true;
        }
    }
    return false;
}

bool SdlPlatform::takeMessage(ShellMessage& out) {
    SDL_Event event;
    while (waiting_.empty() && SDL_PollEvent(&event)) {
        if (translate(event, out)) return true;
        pads_.handle(event, waiting_);  // one controller event may stand for two keys
    }
    if (waiting_.empty()) return false;
    out = waiting_.front();
    waiting_.pop_front();
    return true;
}

void SdlPlatform::waitMessage() {
    while (waiting_.empty()) {
        SDL_Event event;
        if (!SDL_WaitEvent(&event)) {
            SDL_Delay(10);  // no event queue: never spin
            return;
        }
        ShellMessage message;
        if (translate(event, message))
            waiting_.push_back(message);
        else
            pads_.handle(event, waiting_);
    }
}

void SdlPlatform::postQuit() {
    if (firstEventType != 0) pushEvent(quitEventType(), windowId_);
}

std::uint32_t SdlPlatform::tickCount() { return SDL_GetTicks(); }

void SdlPlatform::sleep(std::uint32_t ms) { SDL_Delay(ms); }

bool SdlPlatform::endPending(bool escapeEnds) {
    for (const ShellMessage& message : waiting_)
        if (endsTheRun(message, escapeEnds)) return true;
    SDL_PumpEvents();
    const int count = SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
    if (count <= 0) return false;
    std::vector<SDL_Event> events(static_cast<std::size_t>(count));
    const int peeked = SDL_PeepEvents(events.data(), count, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
    for (int i = 0; i < peeked; ++i) {
        ShellMessage message;
        if (translate(events[static_cast<std::size_t>(i)], message) && endsTheRun(message, escapeEnds)) return true;
    }
    return false;
}

bool SdlPlatform::sleepUnlessEnding(std::uint32_t ms, bool escapeEnds) {
    // Looks at the queue every few milliseconds: a close request is honoured
    // at once, and the title's wait costs next to nothing.
    constexpr std::uint32_t kLookEveryMs = 10;
    const std::uint32_t start = SDL_GetTicks();
    for (;;) {
        if (endPending(escapeEnds)) return true;
        const std::uint32_t spent = SDL_GetTicks() - start;
        if (spent >= ms) return false;
        SDL_Delay(std::min(kLookEveryMs, ms - spent));
    }
}

void SdlPlatform::swapBuffers() {
    if (window_) SDL_GL_SwapWindow(window_);
}

void SdlPlatform::messageBox(const char* text) {
    std::fprintf(stderr, "%s\n", text);
    std::fflush(stderr);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "Error", text, nullptr);
}

}  // namespace drumhold
