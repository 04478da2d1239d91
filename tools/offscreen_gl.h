// offscreen_gl.h -- an 800x600 double-buffered GL context with no screen, for
// the drawing tests and the drawing benchmark: SDL's offscreen video driver,
// EGL and Mesa's software rasteriser. The context is current once made.
#pragma once

#include <string>

struct SDL_Window;

namespace drumhold {

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
