// screens.cpp -- the score line, the game-over text, the title and the instruction scroller.
#include <cmath>

#include "data/tables.h"
#include "render/gl.h"
#include "render/text.h"

namespace drumhold {

const char* const creditLine = "a vector arcade game";

namespace {
// The scroller's band in field units: window rows 10 to 229.
constexpr double bandBottom = -43.5, bandTop = -10.5;
}  // namespace

void drawScoreLine(const GameState* game) {
    glPushMatrix();
    glTranslatef(-57.0f, 42.0f, 0.0f);
    glListBase(game->fontBase);
    textCentred = 0;
    drawText("SCORE: %06d   BARRELS: %02d", game->score, game->barrelsLeft);
    glPopMatrix();
}

void drawGameOver(const GameState* game) {
    glListBase(game->fontBase);
    glPushMatrix();
    glScalef(3.0f, 3.0f, 3.0f);
    glTranslatef(0.0f, 8.5f, 0.0f);
    textCentred = 1;
    drawText("GAME OVER");
    glTranslatef(0.0f, -3.0f, 0.0f);
    glScalef(0.7f, 0.7f, 0.7f);
    drawText("press <space> to start");
    glPopMatrix();
}

void drawTitle(const GameState* game) {
    glListBase(game->fontBase);
    glPushMatrix();
    glScalef(2.0f, 2.0f, 2.0f);
    glTranslatef(0.0f, 10.0f, 0.0f);
    textCentred = 1;
    drawText("DRUMHOLD");
    glTranslatef(0.0f, -3.0f, 0.0f);
    glScalef(0.7f, 0.7f, 0.7f);
    drawText("v. 0.5 - April 24, 2001");
    glTranslatef(0.0f, -6.0f, 0.0f);
    glScalef(0.7f, 0.7f, 0.7f);
    drawText("%s", creditLine);
    glPopMatrix();
}

void drawInstructions(const GameState* game, int frame) {
    glListBase(game->fontBase);
    // Window pixel rows 10..229 and columns 0..798: the field's band from
    // y = -43.5 to -10.5.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 10, 799, 220);
    glPushMatrix();
    // 0.2 units a frame; a cycle of 1102.5 frames lifts the block by 63 lines,
    // so the last line leaves the band before the first one comes back.
    const float s = static_cast<float>(std::fmod(frame, 1102.5) / 5 - 50);
    glTranslatef(0.0f, s, 0.0f);
    glTranslatef(-50.0f, 0.0f, 0.0f);
    textCentred = 0;
    // Lines wholly outside the band would be clipped anyway; skipping them keeps
    // the frame cheap (glyph ink stays within 1 em below and 1.5 em above the
    // baseline, one em being 3.1 units).
    double baseline = s;
    for (const char* line : instructionLines) {
        if (baseline - 3.1 < bandTop && baseline + 1.5 * 3.1 > bandBottom) drawText(line);
        glTranslatef(0.0f, -3.5f, 0.0f);
        baseline -= 3.5;
    }
    glPopMatrix();
    glDisable(GL_SCISSOR_TEST);
}

}  // namespace drumhold
