// scene.h -- drawing the playing field from the world records.
//
// The field is drawn in field units (x right, y up, -60..60 by -45..45) on the
// model-view matrix that setView set up. Nothing here changes the world.
#pragma once

#include "render/context.h"
#include "render/presentation.h"
#include "world/records.h"

namespace drumhold {

// Multiplies the field's orthographic view onto the current matrix and sets the
// 800x600 viewport and line width 1.
void setView();

// Lines as heavy, relative to the field, as at 800x600: one pixel there, never
// less than one.
float lineWidthFor(const Viewport& viewport);

// One frame of the field, back to front.
void drawScene(const GameState& game, RenderContext& context);

void drawTank(const Tank* tank);
// Emits the outline's closed loops; the caller brackets it with a display list.
void compileShape(const Shape& shape);
// A new tank's display list in `context`: glGenLists(1) compiled from the outline.
unsigned compileTankList(RenderContext& context, const Shape& shape);
// Deletes a tank's list if `context` made it; any other name is left alone.
void releaseTankList(RenderContext& context, unsigned list);
void drawBorder(RenderContext& context);
void drawBarrels(const GameState& game);
// One projectile list: a tank's missiles or an explosion's debris.
void drawProjectiles(const Projectile* list);
void drawPlayerMissiles(const Tank* players);
void drawEnemyMissiles(const Tank* enemies);
void drawExplosions(const Explosion* explosions);

}  // namespace drumhold
