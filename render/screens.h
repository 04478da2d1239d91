// screens.h -- text in the outline font, the text screens and the frame step.
#pragma once

#include "render/scene.h"
#include "world/records.h"

namespace drumhold {

enum class TextAlign { Left, Centred };

// The attract mode's own state, kept by whoever draws the frames for the
// whole run: a new window does not restart the instructions.
struct AttractScreen {
    int scrollFrame = 0;      // attract frames drawn since the scroller last restarted
    bool wasPlaying = false;  // the previous frame was drawn during a game
};

// The third line of the title screen.
inline constexpr const char* creditLine = "a vector arcade game";

// Formats one line (printf conversions) and draws it in cyan at the current
// origin, one em = 3.1 field units, starting there or centred on it. Needs
// glListBase(font.base). Text beyond 255 characters is cut off. A null format
// draws nothing.
void drawText(const Font& font, TextAlign align, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

void drawScoreLine(const GameState& game, const Font& font);
void drawGameOver(const Font& font);
void drawTitle(const Font& font);
// The instructions, scrolled up by 0.2 field units per frame, clipped to a band
// near the bottom of the field, in the pixels of `viewport`.
void drawInstructions(const Font& font, int frame, const Viewport& viewport = {});

// Clears and draws the title screen (the caller presents it).
void showTitle(RenderContext& context);
// The frame step: the scene in play; outside play the scene, the game-over text
// and the scroller, which restarts on the first frame after a game.
void drawFrame(const GameState& game, AttractScreen& screen, RenderContext& context,
               const Viewport& viewport = {});
// The frame step of a frame that is not drawn (a display that shows fewer
// frames than the game runs), in play or not: the scroller moves on as if it
// had been.
void skipFrame(bool playing, AttractScreen& screen);

}  // namespace drumhold
