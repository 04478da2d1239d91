// offscreen_gl.h -- an 800x600 double-buffered GL context with no screen, for
// the drawing tests and the drawing benchmark: SDL's offscreen video driver,
// EGL and Mesa's software rasteriser. On Windows, where that driver has no GL,
// a hidden window of SDL's own driver. The context is current once made.
#pragma once

#include <string>

struct SDL_Window;

namespace drumhold {

// Has SDL start the video driver for GL windows that no one need see: the
// offscreen one on Linux, the system's own on Windows.
void useScreenlessVideo();

class OffscreenGl {
public:
    OffscreenGl();
    ~OffscreenGl();
    OffscreenGl(const OffscreenGl&) = delete;
    OffscreenGl& operator=(const OffscreenGl&) = delete;

    bool ok() const { return context_ != nullptr; }
    // Why there is no context, when there is none.
    const std::string& error() const { return error_; }

private:
    SDL_Window* window_ = nullptr;
    void* context_ = nullptr;  // SDL_GLContext
    std::string error_;
};

}  // namespace drumhold
