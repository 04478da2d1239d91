// offscreen_gl.cpp -- the screenless GL context of the drawing tests and benchmark.
#include "tests/support/offscreen_gl.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cstdlib>

namespace drumhold {

void useScreenlessVideo() {
#ifndef _WIN32
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
#endif
}

OffscreenGl::OffscreenGl() {
    useScreenlessVideo();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        error_ = std::string("SDL_Init: ") + SDL_GetError();
        return;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    window_ = SDL_CreateWindow("offscreen", 0, 0, 800, 600, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window_) {
        error_ = std::string("SDL_CreateWindow: ") + SDL_GetError();
        return;
    }
    context_ = SDL_GL_CreateContext(window_);
    if (!context_) error_ = std::string("SDL_GL_CreateContext: ") + SDL_GetError();
}

OffscreenGl::~OffscreenGl() {
    if (context_) SDL_GL_DeleteContext(context_);
    if (window_) SDL_DestroyWindow(window_);
    SDL_Quit();
}

}  // namespace drumhold
