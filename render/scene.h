// scene.h -- drawing the playing field from the world records, and what
// drawing keeps per GL context.
//
// The field is drawn in field units (x right, y up, -60..60 by -45..45) on the
// model-view matrix that setView set up. Nothing here changes the world.
#pragma once

#include <unordered_set>

#include "render/font.h"
#include "render/presentation.h"
#include "world/records.h"

namespace drumhold {

// What drawing keeps per GL context: the font's lists and metrics, the
// border's list and the tanks' lists. Made once a context is current and
// dropped before the context goes, so no list name outlives its context: a
// name from a closed context may already mean another list in the next one.
struct RenderContext {
    Font font;
    unsigned borderList = 0;                // compiled by the first frame that draws the border
    std::unordered_set<unsigned> tankLists; // compiled here and not yet released
};

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

// The pulsing, tumbling power-up with its letter (powerup.cpp); nothing when
// the slot is empty.
void drawPowerUp(const PowerUp* powerUp, const Font& font);
// The glyph of one 8-bit code, scaled like text and centred on the origin.
void drawGlyphCentred(const Font& font, int code);

}  // namespace drumhold
