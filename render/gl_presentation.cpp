// gl_presentation.cpp -- the presentation on OpenGL 1.x.
#include "render/gl_presentation.h"

#include "render/gl.h"
#include "render/scene.h"

namespace drumhold {

void GlPresentation::contextOpened() {
    // Finding, reading and filling the face is done once; every new context
    // (a display switch) only compiles the lists.
    if (!outlines_) outlines_ = loadFontOutlines();
    context_.emplace();
    context_->font = compileFont(*outlines_);
    setView();
    viewport_ = {};
    lineWidth_ = 1.0f;
}

void GlPresentation::setViewport(const Viewport& viewport) {
    glViewport(viewport.x, viewport.y, viewport.width, viewport.height);
    viewport_ = viewport;
    // Set only when it changes: at 800x600 the viewport is the only call.
    if (const float lineWidth = lineWidthFor(viewport_); lineWidth != lineWidth_) {
        glLineWidth(lineWidth);
        lineWidth_ = lineWidth;
    }
}

void GlPresentation::setClearValues() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
}

void GlPresentation::showTitle() {
    if (context_) drumhold::showTitle(*context_);
}

void GlPresentation::drawFrame(const GameState& game) {
    if (context_) drumhold::drawFrame(game, screen_, *context_, viewport_);
}

unsigned GlPresentation::compileTankList(const Shape& shape) {
    return context_ ? drumhold::compileTankList(*context_, shape) : 0;
}

void GlPresentation::releaseTankList(unsigned list) {
    if (context_) drumhold::releaseTankList(*context_, list);
}

}  // namespace drumhold
