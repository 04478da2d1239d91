// The power-up: pulse colour, the tumbling and the swinging disk, and its letter.
#include <cmath>

#include "gl_fixture.h"
#include "render/scene.h"

namespace drumhold::testing {
namespace {

class PowerUpTest : public RenderTest {
protected:
    static constexpr double cx = 20.0, cy = 10.0;
    PowerUp powerUp{static_cast<float>(cx), static_cast<float>(cy), 0, 3};  // 'H'

    // 256 lists that draw nothing: the disks alone, without the letter.
    static unsigned blankFont() {
        static unsigned base = 0;
        if (base == 0) {
            base = glGenLists(256);
            for (unsigned i = 0; i < 256; ++i) {
                glNewList(base + i, GL_COMPILE);
                glEndList();
            }
        }
        return base;
    }

    Frame draw(int ttl, bool letter) {
        powerUp.ttl = ttl;
        Font font = context.font;
        if (!letter) font.base = blankFont();
        clear();
        drawPowerUp(&powerUp, font);
        return Frame();
    }
    int c(double dx) const { return column(cx + dx); }
    int r(double dy) const { return row(cy + dy); }
};

TEST_F(PowerUpTest, PulseAndAnglesFollowTheRemainingTicks) {
    const double rad = 3.141592645 / 180.0;
    {
        // ttl 18: dimmest (b = 1); outer disk turned 63 degrees about x, inner
        // disk (radius 1.7 * 0.9) facing the viewer.
        const Frame f = draw(18, false);
        const Rgb dim{26, 51, 255};
        EXPECT_TRUE(f.near(c(0), r(1.7 * std::cos(63 * rad)), dim));
        EXPECT_TRUE(f.near(c(0), r(1.53), dim));
        EXPECT_TRUE(f.near(c(1.7), r(0), dim) && f.near(c(-1.7), r(0), dim));
        EXPECT_TRUE(f.near(c(1.53), r(0), dim));
        EXPECT_TRUE(f.black(c(0), r(1.15)) && f.black(c(0), r(0.3)));
        EXPECT_FALSE(f.near(c(0), r(1.9), dim, 1));
        EXPECT_FALSE(f.near(c(2.0), r(0), dim, 1));
    }
    {
        // ttl 6: brightest (b = 5, clamped to (0.5, 1, 1)); outer disk at 21
        // degrees, inner disk at -60 degrees about y (half as wide).
        const Frame f = draw(6, false);
        const Rgb bright{128, 255, 255};
        EXPECT_TRUE(f.near(c(1.7), r(0), bright) && f.near(c(-1.7), r(0), bright));
        EXPECT_TRUE(f.near(c(1.53 * 0.5), r(0), bright) && f.near(c(-1.53 * 0.5), r(0), bright));
        EXPECT_TRUE(f.black(c(1.2), r(0)) && f.black(c(0), r(0)));
        EXPECT_TRUE(f.near(c(0), r(1.7 * std::cos(21 * rad)), bright));
        EXPECT_FALSE(f.near(c(0), r(1.9), bright, 1));
    }
    {
        // ttl 36: b = 3; outer disk at 126 degrees, inner disk edge-on: a
        // vertical stroke through the centre.
        const Frame f = draw(36, false);
        const Rgb mid{77, 153, 255};
        EXPECT_TRUE(f.near(c(1.7), r(0), mid) && f.near(c(-1.7), r(0), mid));
        EXPECT_TRUE(f.near(c(0), r(1.7 * std::abs(std::cos(126 * rad))), mid));
        for (double dy = -1.4; dy <= 1.4; dy += 0.1) EXPECT_TRUE(f.near(c(0), r(dy), mid, 1)) << dy;
        EXPECT_TRUE(f.black(c(0.8), r(0)) && f.black(c(1.2), r(0)));
    }
    // No power-up: nothing at all.
    clear();
    drawPowerUp(nullptr, context.font);
    const Frame empty;
    EXPECT_EQ(empty.lit(), 0);
}

// Pixels of `with` that are not in `without`: the letter alone.
struct Box {
    int n = 0, c0 = 800, r0 = 600, c1 = -1, r1 = -1;
};
Box difference(const Frame& with, const Frame& without) {
    Box box;
    for (int r = 0; r < 600; ++r)
        for (int c = 0; c < 800; ++c) {
            const Rgb a = with.at(c, r), b = without.at(c, r);
            if (a.r == b.r && a.g == b.g && a.b == b.b) continue;
            ++box.n;
            box.c0 = std::min(box.c0, c), box.c1 = std::max(box.c1, c);
            box.r0 = std::min(box.r0, r), box.r1 = std::max(box.r1, r);
        }
    return box;
}

TEST_F(PowerUpTest, LetterIsCentredInThePulseColourAndTurnsWithTheInnerDisk) {
    // Facing the viewer: the 'H' is centred on the power-up (by advance and
    // black-box height) at 0.9 x 3.1 = 2.79 units to the em.
    const Box facing = difference(draw(18, true), draw(18, false));
    const Frame f = draw(18, true);
    ASSERT_GT(facing.n, 30);
    EXPECT_TRUE(f.is((facing.c0 + facing.c1) / 2, (facing.r0 + facing.r1) / 2, {26, 51, 255}) ||
                f.near((facing.c0 + facing.c1) / 2, (facing.r0 + facing.r1) / 2, {26, 51, 255}, 3));
    const GlyphMetrics& h = context.font.metrics['H'];
    const double em = 2.79 * 800 / 120;  // pixels
    EXPECT_NEAR(facing.r1 - facing.r0 + 1, h.inkHeight * em, 2.0);
    EXPECT_NEAR((facing.r0 + facing.r1 + 1) / 2.0, (cy + 45) * 600 / 90, 2.0);
    const double inkCentre = -h.advance / 2 + h.inkOrigin.x + h.inkWidth / 2;
    EXPECT_NEAR((facing.c0 + facing.c1 + 1) / 2.0, (cx + 60 + inkCentre * 2.79) * 800 / 120, 2.0);

    // Edge-on (ttl 36) the letter has no width left.
    const Box edgeOn = difference(draw(36, true), draw(36, false));
    EXPECT_LE(edgeOn.c1 - edgeOn.c0, 1);
    // At -60 degrees (ttl 6) it is half as wide as facing.
    const Box turned = difference(draw(6, true), draw(6, false));
    EXPECT_NEAR(turned.c1 - turned.c0, (facing.c1 - facing.c0) * 0.5, 2.0);
}

TEST_F(PowerUpTest, CentredGlyphOfCodeZeroDrawsNothingAndKeepsTheMatrix) {
    float before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    clear();
    drawGlyphCentred(context.font, 0);
    const Frame f;
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(f.lit(), 0);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(before[i], after[i]);
}

}  // namespace
}  // namespace drumhold::testing
