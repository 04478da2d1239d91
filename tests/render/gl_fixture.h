// gl_fixture.h -- an offscreen GL context for the render tests, and pixel helpers.
//
// One 800x600 double-buffered context per test process, with no display
// (tests/support/offscreen_gl.h). The font is built once in it. RenderTest
// sets the field's view afresh for every test, gives it a hand-built GameState
// and a render context holding the shared font, and reads the back buffer
// after drawing.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "render/font.h"
#include "render/gl.h"
#include "render/scene.h"
#include "tests/support/offscreen_gl.h"

namespace drumhold::testing {

// The offscreen context and the font built in it, once per process. The context
// lives until the process ends: tearing it down unloads the GL driver, and what
// the driver keeps would then show as leaks without names.
class GlContext {
public:
    static GlContext& get() {
        static GlContext context;
        return context;
    }
    bool ok() const { return gl_->ok(); }
    const Font& font() const { return font_; }

private:
    OffscreenGl* gl_ = new OffscreenGl;
    Font font_;

    GlContext() {
        if (!gl_->ok()) {
            ADD_FAILURE() << gl_->error();
            return;
        }
        font_ = buildFont();
    }
};

struct Rgb {
    int r, g, b;
};

// The back buffer, bottom row first, as GL reads it.
class Frame {
public:
    Frame() : pixels_(800 * 600 * 4) {
        glFinish();
        glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, pixels_.data());
    }
    Rgb at(int column, int row) const {
        const std::uint8_t* p = &pixels_[(static_cast<std::size_t>(row) * 800 + column) * 4];
        return {p[0], p[1], p[2]};
    }
    bool is(int column, int row, Rgb want, int tolerance = 2) const {
        const Rgb c = at(column, row);
        return std::abs(c.r - want.r) <= tolerance && std::abs(c.g - want.g) <= tolerance &&
               std::abs(c.b - want.b) <= tolerance;
    }
    bool black(int column, int row) const { return is(column, row, {0, 0, 0}, 0); }
    // Any pixel of colour `want` within `radius` pixels of (column, row)?
    bool near(int column, int row, Rgb want, int radius = 1) const {
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx) {
                const int c = column + dx, r = row + dy;
                if (c >= 0 && c < 800 && r >= 0 && r < 600 && is(c, r, want)) return true;
            }
        return false;
    }
    // Pixels of colour `want` in the inclusive window.
    int count(Rgb want, int c0 = 0, int r0 = 0, int c1 = 799, int r1 = 599) const {
        int n = 0;
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) n += is(c, r, want);
        return n;
    }
    // Pixels that are not black, in the inclusive window.
    int lit(int c0 = 0, int r0 = 0, int c1 = 799, int r1 = 599) const {
        int n = 0;
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) n += !black(c, r);
        return n;
    }
    bool operator==(const Frame& other) const { return pixels_ == other.pixels_; }

private:
    std::vector<std::uint8_t> pixels_;
};

// Field units to window pixels: 800/120 = 600/90 = 6.67 pixels per unit.
inline int column(double x) { return static_cast<int>(std::floor((x + 60.0) * 800.0 / 120.0)); }
inline int row(double y) { return static_cast<int>(std::floor((y + 45.0) * 600.0 / 90.0)); }

constexpr Rgb green{0, 255, 0}, yellow{255, 255, 0}, blue{0, 0, 255}, white{255, 255, 255},
    red{255, 0, 0}, cyan{0, 255, 255};

class RenderTest : public ::testing::Test {
protected:
    GameState state{};
    RenderContext context;

    void SetUp() override {
        ASSERT_TRUE(GlContext::get().ok());
        glLoadIdentity();
        setView();
        glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
        glDisable(GL_SCISSOR_TEST);
        context.font = GlContext::get().font();
        state.barrelsLeft = 18;
    }
    void clear() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }
    // Draws `text` with the pen at (x, y) and the em `em` field units high.
    void drawAt(unsigned base, const char* text, double x, double y, double em) {
        glPushMatrix();
        glTranslated(x, y, 0.0);
        glScaled(em, em, em);
        glColor3f(1.0f, 1.0f, 1.0f);
        glListBase(base);
        glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
        glPopMatrix();
    }
};

}  // namespace drumhold::testing
