// gl_presentation.h -- the presentation on OpenGL 1.x: the render library
// behind the shell's seam, with the per-context objects and the attract
// screen's state it keeps between frames.
#pragma once

#include <optional>

#include "render/font.h"
#include "render/presentation.h"
#include "render/scene.h"
#include "render/screens.h"

namespace drumhold {

class GlPresentation final : public Presentation {
public:
    void contextOpened() override;
    void contextClosing() override { context_.reset(); }
    void setViewport(const Viewport& viewport) override;
    void setClearValues() override;
    void showTitle() override;
    void drawFrame(const GameState& game) override;
    // The frame step without drawing (screens.h).
    void skipFrame(bool playing) { drumhold::skipFrame(playing, screen_); }
    unsigned compileTankList(const Shape& shape) override;
    void releaseTankList(unsigned list) override;

    AttractScreen& attractScreen() { return screen_; }

private:
    std::optional<FontOutlines> outlines_;  // read once, at the first context
    std::optional<RenderContext> context_;  // while a context is current
    AttractScreen screen_;
    Viewport viewport_;       // as last set in the current context
    float lineWidth_ = 1.0f;  // likewise
};

}  // namespace drumhold
