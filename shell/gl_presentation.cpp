// gl_presentation.cpp -- the real presentation: OpenGL state and the render library.
#include <GL/gl.h>

#include "render/render.h"
#include "shell/presentation.h"

namespace drumhold {

void setViewport(int width, int height) { glViewport(0, 0, width, height); }

int setClearValues() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    return 1;
}

namespace {

class OpenGlPresentation final : public Presentation {
public:
    void setViewport(int width, int height) override { drumhold::setViewport(width, height); }
    void setClearValues() override { drumhold::setClearValues(); }
    void prepare(GameState* game) override { prepareContext(game); }
    void showTitle(GameState* game) override { drumhold::showTitle(game); }
    void drawFrame() override { drumhold::drawFrame(); }
    unsigned compileTankList(const Shape& shape) override { return drumhold::compileTankList(shape); }
    void releaseTankList(unsigned list) override { drumhold::releaseTankList(list); }
};

}  // namespace

Presentation& openGlPresentation() {
    static OpenGlPresentation presentation;
    return presentation;
}

}  // namespace drumhold
