// scene.h -- drawing the playing field from the world records.
//
// The field is drawn in field units (x right, y up, -60..60 by -45..45) on the
// model-view matrix that prepareContext set up. Nothing here changes the world.
#pragma once

#include "world/records.h"

namespace drumhold {

// The border's display list; 0 until the first frame of a context draws it.
extern unsigned borderList;

// Multiplies the field's orthographic view onto the current matrix and sets the
// 800x600 viewport and line width 1.
void setView();

// One frame of the field from `game` and `explosions`, back to front.
void drawScene();

void drawTank(const Tank* tank);
// Emits the outline's closed loops; the caller brackets it with a display list.
void compileShape(const Shape& shape);
void drawBorder();
void drawBarrels(const GameState* game);
// One projectile list: a tank's missiles or an explosion's debris.
void drawProjectiles(const Projectile* list);
void drawPlayerMissiles(const Tank* players);
void drawEnemyMissiles(const Tank* enemies);
void drawExplosions();
void drawPowerUp(const GameState* game);
// The glyph of one 8-bit code, scaled like text and centred on the origin.
void drawGlyphCentred(const GameState* game, int code);

}  // namespace drumhold
