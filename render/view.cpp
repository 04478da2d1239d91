// view.cpp -- the field's view and the per-context preparation.
#include "render/font.h"
#include "render/gl.h"
#include "render/render.h"
#include "render/scene.h"

namespace drumhold {

void setView() {
    // No matrix mode is selected: the projection lands on the model-view matrix
    // and every drawing routine pushes and pops around it.
    glOrtho(-60.0, 60.0, -45.0, 45.0, 0.0, 1000.0);
    glViewport(0, 0, 800, 600);
    glLineWidth(1.0f);
}

void prepareContext(GameState* game) {
    // Lists of an earlier context died with it; a stale name would draw nothing.
    borderList = 0;
    game->fontBase = buildFont();
    setView();
}

}  // namespace drumhold
