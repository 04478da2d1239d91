// presentation.h -- what the shell draws with: the OpenGL side of the window.
//
// The loop and the window code reach OpenGL only through this interface, so the
// tests can run them with no context at all. `openGlPresentation()` is the real
// one: the shell's viewport and clear values plus the render library.
#pragma once

#include "world/records.h"

namespace drumhold {

class Presentation {
public:
    virtual ~Presentation() = default;
    virtual void setViewport(int width, int height) = 0;
    virtual void setClearValues() = 0;
    // Once per context, after the world is initialised: font and view.
    virtual void prepare(GameState* game) = 0;
    // Clears and draws the title screen (the caller presents it).
    virtual void showTitle(GameState* game) = 0;
    // The frame step of the current mode.
    virtual void drawFrame() = 0;
    virtual unsigned compileTankList(const Shape& shape) = 0;
    virtual void releaseTankList(unsigned list) = 0;
};

// The viewport of the context: origin (0, 0), width x height.
void setViewport(int width, int height);
// Clear colour black with alpha 0.5, clear depth 1.0. Returns 1.
int setClearValues();

Presentation& openGlPresentation();

}  // namespace drumhold
