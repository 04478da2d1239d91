// text.h -- one line of text in the outline font, the text screens and the frame step's state.
#pragma once

#include "world/records.h"

namespace drumhold {

// When exactly 1, drawText centres each line on the current origin; otherwise
// the line starts there. Every screen routine sets it before drawing.
extern int textCentred;

// Attract frames drawn since the scroller last restarted.
extern int scrollFrame;
// 1 when the previous frame was drawn during a game.
extern int wasPlaying;

// The third line of the title screen.
extern const char* const creditLine;

// Formats one line (printf conversions) and draws it in cyan at the current
// origin, one em = 3.1 field units. Needs glListBase(game->fontBase). Text
// beyond 255 characters is cut off. A null format draws nothing.
void drawText(const char* format, ...);

void drawScoreLine(const GameState* game);
void drawGameOver(const GameState* game);
void drawTitle(const GameState* game);
// The instructions, scrolled up by 0.2 field units per frame, clipped to a band
// near the bottom of the field.
void drawInstructions(const GameState* game, int frame);
// Outside play: the scene, the game-over text and the scroller; advances scrollFrame.
void drawAttractFrame();

}  // namespace drumhold
