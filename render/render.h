// render.h -- what the shell needs from the presentation (OpenGL 1.x).
//
// Everything here needs a current GL context. The world is only read.
#pragma once

#include "world/records.h"

namespace drumhold {

// Once per GL context, after the world is initialised: forget lists of a dead
// context, build the font into game->fontBase and set up the field's view
// (orthographic -60..60 x -45..45, viewport 800x600, line width 1).
void prepareContext(GameState* game);

// A new tank's display list: glGenLists(1) compiled from the outline.
unsigned compileTankList(const Shape& shape);
void releaseTankList(unsigned list);

// Clear, draw the title screen (the caller swaps buffers).
void showTitle(GameState* game);

// The frame step: the scene in play; scene, game-over text and the scroller outside.
void drawFrame();

}  // namespace drumhold
