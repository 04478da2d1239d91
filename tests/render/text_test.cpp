// Text lines and screens: the score line's fields, centring by advances, the
// 255-character cut, the instruction scroller's band, the frame step and the
// attract frame of a freshly initialised world.
#include <string>

#include "data/tables.h"
#include "gl_fixture.h"
#include "render/screens.h"
#include "world/world.h"

namespace drumhold::testing {
namespace {

// Where the ink of `text` should start and end (field x) when drawn with the
// em `em` units high and its pen starting at `penX`.
struct Ink {
    double left, right;
};
const GlyphMetrics& metricsOf(unsigned char ch) { return GlContext::get().font().metrics[ch]; }

Ink inkOf(const std::string& text, double penX, double em) {
    double pen = 0, left = 1e9, right = -1e9;
    for (unsigned char ch : text) {
        const GlyphMetrics& m = metricsOf(ch);
        if (m.inkWidth > 0) {
            left = std::min(left, pen + m.inkOrigin.x);
            right = std::max(right, pen + m.inkOrigin.x + m.inkWidth);
        }
        pen += m.advance;
    }
    return {penX + left * em, penX + right * em};
}
double widthOf(const std::string& text) {
    float width = 0;
    for (unsigned char ch : text) width += metricsOf(ch).advance;
    return width;
}

// First and last lit column of the rows from y0 to y1.
std::pair<int, int> litColumns(const Frame& f, double y0, double y1) {
    int first = 800, last = -1;
    for (int r = std::max(row(y0), 0); r <= std::min(row(y1), 599); ++r)
        for (int c = 0; c < 800; ++c)
            if (f.is(c, r, cyan)) first = std::min(first, c), last = std::max(last, c);
    return {first, last};
}

class TextTest : public RenderTest {
protected:
    // The score line as it must look, drawn from a literal string.
    Frame literalScoreLine(const char* text) {
        clear();
        glPushMatrix();
        glTranslatef(-57.0f, 42.0f, 0.0f);
        glListBase(context.font.base);
        drawText(context.font, TextAlign::Left, "%s", text);
        glPopMatrix();
        return Frame();
    }
    Frame scoreLine(int score, int barrels) {
        state.score = score;
        state.barrelsLeft = barrels;
        clear();
        drawScoreLine(state, context.font);
        return Frame();
    }
};

TEST_F(TextTest, ScoreLinePadsBothFieldsAndStartsAtItsOrigin) {
    EXPECT_TRUE(scoreLine(-100, 7) == literalScoreLine("SCORE: -00100   BARRELS: 07"));
    EXPECT_FALSE(scoreLine(-100, 7) == literalScoreLine("SCORE: 000100   BARRELS: 07"));
    EXPECT_TRUE(scoreLine(1234, 7) == literalScoreLine("SCORE: 001234   BARRELS: 07"));
    EXPECT_TRUE(scoreLine(0, 18) == literalScoreLine("SCORE: 000000   BARRELS: 18"));
    // Seven digits widen the line by one character.
    const Frame wide = scoreLine(1234567, 0);
    EXPECT_TRUE(wide == literalScoreLine("SCORE: 1234567   BARRELS: 00"));
    const auto [first, last] = litColumns(wide, 41.0, 45.0);
    const Ink ink = inkOf("SCORE: 1234567   BARRELS: 00", -57.0, 3.1);
    EXPECT_NEAR(first, column(ink.left), 1.0);
    EXPECT_NEAR(last, column(ink.right), 1.0);
    EXPECT_NEAR(first, column(-57.0 + metricsOf('S').inkOrigin.x * 3.1), 1.0);
}

TEST_F(TextTest, CentredTextsAreCentredByTheirAdvances) {
    clear();
    drawGameOver(context.font);
    const Frame over;
    // "GAME OVER" at (0, 25.5), 9.3 units to the em, blank included in the width.
    auto [first, last] = litColumns(over, 24.0, 44.0);
    Ink ink = inkOf("GAME OVER", -widthOf("GAME OVER") / 2 * 9.3, 9.3);
    EXPECT_NEAR(first, column(ink.left), 1.0);
    EXPECT_NEAR(last, column(ink.right), 1.0);
    std::tie(first, last) = litColumns(over, 13.0, 23.0);
    ink = inkOf("press <space> to start", -widthOf("press <space> to start") / 2 * 6.51, 6.51);
    EXPECT_NEAR(first, column(ink.left), 1.0);
    EXPECT_NEAR(last, column(ink.right), 1.0);

    // The title clears the screen first and stacks three centred lines.
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    clear();
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    showTitle(context);
    const Frame title;
    EXPECT_EQ(title.count(red), 0);
    std::tie(first, last) = litColumns(title, 19.5, 26.0);
    ink = inkOf("DRUMHOLD", -widthOf("DRUMHOLD") / 2 * 6.2, 6.2);
    EXPECT_NEAR(first, column(ink.left), 1.0);
    EXPECT_NEAR(last, column(ink.right), 1.0);
    std::tie(first, last) = litColumns(title, 5.6, 8.0);
    ink = inkOf(creditLine, -widthOf(creditLine) / 2 * 3.038, 3.038);
    EXPECT_NEAR(first, column(ink.left), 1.0);
    EXPECT_NEAR(last, column(ink.right), 1.0);
}

TEST_F(TextTest, OverlongTextIsCutAt255CharactersAndANullFormatDrawsNothing) {
    // Blanks up to the cut and capitals after it: only what falls inside the
    // 255 characters may show. Small enough that all of it is on screen.
    auto draw = [&](int blanks) {
        const std::string text = std::string(blanks, ' ') + std::string(400 - blanks, 'X');
        clear();
        glPushMatrix();
        glTranslatef(-59.0f, 0.0f, 0.0f);
        glScalef(0.1f, 0.1f, 0.1f);
        glListBase(context.font.base);
        drawText(context.font, TextAlign::Left, "%s", text.c_str());
        glPopMatrix();
        return Frame().count(cyan);
    };
    ASSERT_LT(widthOf(std::string(400, 'X')) * 3.1 * 0.1, 118.0);
    EXPECT_GT(draw(250), 0);
    EXPECT_EQ(draw(255), 0);
    clear();
    drawText(context.font, TextAlign::Left, nullptr);
    EXPECT_EQ(Frame().lit(), 0);
}

TEST_F(TextTest, ScrollerDrawsOnlyInsideItsBandAndRisesFromBelowIt) {
    for (int frame : {0, 1102, 1103, 100, 300, 600, 900, 1102 + 300}) {
        clear();
        drawInstructions(context.font, frame);
        const Frame f;
        EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
        const int inside = f.lit(0, 10, 798, 229);
        EXPECT_EQ(f.lit(), inside) << "frame " << frame;
        if (frame == 0 || frame == 1102 || frame == 1103) {
            EXPECT_EQ(inside, 0) << "frame " << frame;  // every line below or above the band
        } else {
            EXPECT_GT(inside, 0) << "frame " << frame;
        }
    }
    // Frame 100: s = -30, so "INSTRUCTIONS:" stands on y = -30 from x = -50,
    // the empty line 1 leaves a gap and line 2 stands on y = -37.
    clear();
    drawInstructions(context.font, 100);
    const Frame f;
    const auto [first, last] = litColumns(f, -30.0, -28.5);
    EXPECT_NEAR(first, column(inkOf(instructionLines[0], -50.0, 3.1).left), 1.0);
    EXPECT_NEAR(last, column(inkOf(instructionLines[0], -50.0, 3.1).right), 1.0);
    EXPECT_EQ(litColumns(f, -34.0, -30.6).second, -1);
    EXPECT_NEAR(litColumns(f, -37.0, -35.5).first, column(inkOf(instructionLines[2], -50.0, 3.1).left), 1.0);
}

// A window shown at another size (a scaled window, a page) draws the field over
// its whole viewport: the band must be clipped in that viewport's pixels, or
// lines above it show through (smaller) or the band is cut (larger); and where
// the picture lies in the window, centred between black bands.
TEST_F(TextTest, ScrollerBandFollowsTheViewport) {
    for (const Viewport& picture : {Viewport{0, 0, 400, 300}, Viewport{200, 150, 400, 300}}) {
        glViewport(picture.x, picture.y, picture.width, picture.height);
        const int left = picture.x, right = picture.x + 399, bottom = picture.y + 5, top = picture.y + 114;
        int outside = 0, atTheBandsEdges = 0;
        for (int frame = 0; frame < 1102; frame += 9) {
            clear();
            drawInstructions(context.font, frame, picture);
            const Frame f;
            outside += f.lit() - f.lit(left, bottom, right, top);
            atTheBandsEdges += f.lit(left, bottom, right, bottom + 4) + f.lit(left, top - 4, right, top);
        }
        EXPECT_EQ(outside, 0) << picture.x;
        EXPECT_GT(atTheBandsEdges, 0) << picture.x;
    }
    glViewport(0, 0, 800, 600);
}

TEST_F(TextTest, FrameStepRestartsTheScrollerOnTheFirstFrameAfterAGame) {
    const int gameOverTop = row(26.0), gameOverBottom = row(33.0);
    AttractScreen screen{500, false};
    state.playing = true;
    drawFrame(state, screen, context);
    const Frame inPlay;
    EXPECT_TRUE(screen.wasPlaying);
    EXPECT_EQ(screen.scrollFrame, 500);
    EXPECT_EQ(inPlay.count(cyan, 0, gameOverTop, 799, gameOverBottom), 0);
    EXPECT_GT(inPlay.count(cyan), 0);  // the score line
    EXPECT_TRUE(inPlay.is(0, 300, blue));

    state.playing = false;
    drawFrame(state, screen, context);
    const Frame attract;
    EXPECT_FALSE(screen.wasPlaying);
    EXPECT_EQ(screen.scrollFrame, 1);  // restarted at 0 for this frame
    EXPECT_GT(attract.count(cyan, 0, gameOverTop, 799, gameOverBottom), 100);
    EXPECT_EQ(attract.lit(1, 10, 798, 229), 0);  // from frame 500 text would show in the band
    drawFrame(state, screen, context);
    EXPECT_EQ(screen.scrollFrame, 2);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
}

TEST_F(TextTest, AttractFrameBeforeTheFirstGameShowsTheFreshWorld) {
    GameState world{};
    initWorld(&world);
    AttractScreen screen;
    drawFrame(world, screen, context);
    const Frame f;
    // All 18 barrels at home, no tank yet (alive is still 0), and the fields at
    // 000000 and 18.
    for (const BarrelHome& b : barrelLayout)
        EXPECT_TRUE(f.near(column(b.x + 1), row(b.y), white)) << b.x << "," << b.y;
    EXPECT_EQ(f.count(green) + f.count(yellow), 0);
    const Frame expected = literalScoreLine("SCORE: 000000   BARRELS: 18");
    for (int r = row(41.0); r <= row(45.0) - 2; ++r)
        for (int c = 20; c < 780; ++c)
            ASSERT_EQ(f.is(c, r, cyan), expected.is(c, r, cyan)) << c << "," << r;
    releaseWorld(&world);
}

}  // namespace
}  // namespace drumhold::testing
