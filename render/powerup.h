// powerup.h -- the pulsing, tumbling power-up with its letter.
#pragma once

#include "render/font.h"
#include "world/records.h"

namespace drumhold {

// Nothing when the slot is empty.
void drawPowerUp(const PowerUp* powerUp, const Font& font);
// The glyph of one 8-bit code, scaled like text and centred on the origin.
void drawGlyphCentred(const Font& font, int code);

}  // namespace drumhold
