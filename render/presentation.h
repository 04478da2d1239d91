// presentation.h -- what the shell draws with: the GL side of the game window.
//
// The shell reaches OpenGL only through this interface, so its tests run the
// loop and the window code with no context at all. GlPresentation
// (gl_presentation.h) is the real one.
#pragma once

#include "world/host.h"
#include "world/records.h"

namespace drumhold {

// Where the picture lands in the window, in window pixels from its bottom-left
// corner. The field is stretched over it; the scroller's band is clipped in
// these pixels and lines are drawn as wide as the picture is scaled, so that
// any size shows the 800x600 picture made larger or smaller.
struct Viewport {
    int x = 0, y = 0;
    int width = 800, height = 600;
    bool operator==(const Viewport&) const = default;
};

// The largest picture of the field's 4:3 shape that fits a width x height
// window, centred in it: what is left over shows as black bands.
Viewport pictureIn(int width, int height);

class Presentation {
public:
    virtual ~Presentation() = default;
    // A new GL context is current: make what drawing keeps per context (the
    // font, the border's list) and set up the field's view.
    virtual void contextOpened() = 0;
    // The context is about to go, and every list made in it with it.
    virtual void contextClosing() = 0;
    // The viewport: the rectangle the picture is drawn into.
    virtual void setViewport(const Viewport& viewport) = 0;
    // Clear colour black with alpha 0.5, clear depth 1.0.
    virtual void setClearValues() = 0;
    // Clears and draws the title screen (the caller presents it).
    virtual void showTitle() = 0;
    // The frame step of the current mode.
    virtual void drawFrame(const GameState& game) = 0;
    // A new tank's list in the current context; 0 when there is none.
    virtual unsigned compileTankList(const Shape& shape) = 0;
    // Gives back a list of the current context; names of an older one are ignored.
    virtual void releaseTankList(unsigned list) = 0;
};

// A world host whose tanks get their lists from a presentation; no cues, no
// sleeping. The game's own host adds those.
class ListHost : public WorldHost {
public:
    explicit ListHost(Presentation& presentation) : presentation_(presentation) {}
    unsigned createTankList(const Shape& shape) override { return presentation_.compileTankList(shape); }
    void releaseTankList(unsigned list) override { presentation_.releaseTankList(list); }

private:
    Presentation& presentation_;
};

}  // namespace drumhold
