// screens.cpp -- one line of text, the score line, the game-over text, the
// title, the instruction scroller and the frame step.
#include "render/screens.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <initializer_list>

#include "data/tables.h"
#include "render/gl.h"
#include "render/scene.h"

namespace drumhold {

namespace {
// The scroller's band in field units: window rows 10 to 229.
constexpr double bandBottom = -43.5, bandTop = -10.5;
}  // namespace

void drawText(const Font& font, TextAlign align, const char* format, ...) {
    if (!format) return;
    char text[256];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (written <= 0) return;
    // vsnprintf reports the untruncated length; only what fits was stored.
    const int length = written < static_cast<int>(sizeof text) ? written
                                                               : static_cast<int>(sizeof text) - 1;

    float width = 0.0f;
    for (int i = 0; i < length; ++i) width += font.metrics[static_cast<unsigned char>(text[i])].advance;

    glPushMatrix();
    glScalef(3.1f, 3.1f, 3.1f);
    if (align == TextAlign::Centred) glTranslatef(-width / 2, 0.0f, 0.0f);
    glColor4fv(textColour);
    glCallLists(length, GL_UNSIGNED_BYTE, text);
    glPopMatrix();
}

void drawScoreLine(const GameState& game, const Font& font) {
    glPushMatrix();
    glTranslatef(-57.0f, 42.0f, 0.0f);
    glListBase(font.base);
    drawText(font, TextAlign::Left, "SCORE: %06d   BARRELS: %02d", game.score, game.barrelsLeft);
    glPopMatrix();
}

namespace {

// Centred lines, each one `drop` below the one before and 0.7 times its size;
// the first `top` above the origin at `scale` times the text's size.
struct CentredLine {
    float drop;
    const char* text;
};

void drawCentredLines(const Font& font, float scale, float top, std::initializer_list<CentredLine> lines) {
    glListBase(font.base);
    glPushMatrix();
    glScalef(scale, scale, scale);
    glTranslatef(0.0f, top, 0.0f);
    for (const CentredLine& line : lines) {
        if (line.drop != 0.0f) {
            glTranslatef(0.0f, -line.drop, 0.0f);
            glScalef(0.7f, 0.7f, 0.7f);
        }
        drawText(font, TextAlign::Centred, "%s", line.text);
    }
    glPopMatrix();
}

}  // namespace

void drawGameOver(const Font& font) {
    drawCentredLines(font, 3.0f, 8.5f, {{0.0f, "GAME OVER"}, {3.0f, "press <space> to start"}});
}

void drawTitle(const Font& font) {
    drawCentredLines(font, 2.0f, 10.0f, {{0.0f, "DRUMHOLD"}, {3.0f, "v. 0.5 - April 24, 2001"}, {6.0f, creditLine}});
}

void drawInstructions(const Font& font, int frame, const Viewport& viewport) {
    glListBase(font.base);
    // At 800x600, window pixel rows 10..229 and columns 0..798: the field's
    // band from y = -43.5 to -10.5; in proportion at any other size.
    const auto scaled = [](int pixels, int size, int full) { return (pixels * size + full / 2) / full; };
    glEnable(GL_SCISSOR_TEST);
    glScissor(viewport.x, viewport.y + scaled(10, viewport.height, 600), scaled(799, viewport.width, 800),
              scaled(220, viewport.height, 600));
    glPushMatrix();
    // 0.2 units a frame; a cycle of 1102.5 frames lifts the block by 63 lines,
    // so the last line leaves the band before the first one comes back.
    const float s = static_cast<float>(std::fmod(frame, 1102.5) / 5 - 50);
    glTranslatef(0.0f, s, 0.0f);
    glTranslatef(-50.0f, 0.0f, 0.0f);
    // Lines wholly outside the band would be clipped anyway; skipping them keeps
    // the frame cheap (glyph ink stays within 1 em below and 1.5 em above the
    // baseline, one em being 3.1 units).
    double baseline = s;
    for (const char* line : instructionLines) {
        if (baseline - 3.1 < bandTop && baseline + 1.5 * 3.1 > bandBottom) drawText(font, TextAlign::Left, "%s", line);
        glTranslatef(0.0f, -3.5f, 0.0f);
        baseline -= 3.5;
    }
    glPopMatrix();
    glDisable(GL_SCISSOR_TEST);
}

void showTitle(RenderContext& context) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawTitle(context.font);
}

namespace {

// The attract screen's state moved on by one frame, in play or not; the
// scroller's frame an attract frame shows.
int nextFrame(bool playing, AttractScreen& screen) {
    if (playing) {
        screen.wasPlaying = true;
        return 0;
    }
    // The first frame after a game starts the instructions from the top.
    if (screen.wasPlaying) screen.scrollFrame = 0;
    screen.wasPlaying = false;
    return screen.scrollFrame++;
}

}  // namespace

void drawFrame(const GameState& game, AttractScreen& screen, RenderContext& context, const Viewport& viewport) {
    const int scrollFrame = nextFrame(game.playing, screen);
    drawScene(game, context);
    if (game.playing) return;
    drawGameOver(context.font);
    drawInstructions(context.font, scrollFrame, viewport);
}

void skipFrame(bool playing, AttractScreen& screen) { nextFrame(playing, screen); }

}  // namespace drumhold
