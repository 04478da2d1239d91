// The outline font: one list per code, filled glyphs that advance the pen,
// metrics in em units, the code page, and the choice of face.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "gl_fixture.h"
#include "render/glyph_outline.h"

namespace drumhold::testing {
namespace {

class FontTest : public RenderTest {
protected:
    const std::array<GlyphMetrics, 256>& glyphMetrics = context.font.metrics;
    // Runs of lit pixels along one row.
    static std::vector<std::pair<int, int>> runs(const Frame& f, int r) {
        std::vector<std::pair<int, int>> out;
        for (int c = 0; c < 800; ++c) {
            if (f.black(c, r)) continue;
            if (!out.empty() && out.back().second == c - 1) {
                out.back().second = c;
            } else {
                out.emplace_back(c, c);
            }
        }
        return out;
    }
};

TEST_F(FontTest, EveryCodeHasAListAndPrintableGlyphsHaveSaneMetrics) {
    const unsigned base = context.font.base;
    for (unsigned code = 0; code < 256; ++code) EXPECT_TRUE(glIsList(base + code)) << code;
    for (int code = 0x20; code < 0x7F; ++code) {
        const GlyphMetrics& m = glyphMetrics[code];
        EXPECT_GT(m.advance, 0.1f) << code;
        EXPECT_LT(m.advance, 1.5f) << code;
        EXPECT_TRUE(code == ' ' || m.inkHeight > 0.0f) << code;
    }
    // A capital sits on the baseline and is shorter than the em.
    const GlyphMetrics& h = glyphMetrics['H'];
    EXPECT_GT(h.inkHeight, 0.4f);
    EXPECT_LT(h.inkHeight, 1.0f);
    EXPECT_NEAR(h.inkOrigin.y, h.inkHeight, 0.05f);
    EXPECT_GE(h.inkOrigin.x, 0.0f);
    EXPECT_LE(h.inkOrigin.x + h.inkWidth, h.advance + 0.01f);
    EXPECT_EQ(glyphMetrics[' '].inkWidth, 0.0f);
    // A code the page leaves undefined has no glyph: blank, with the blank's advance.
    EXPECT_EQ(glyphMetrics[0x81].advance, glyphMetrics[' '].advance);
    EXPECT_EQ(glyphMetrics[0x81].inkHeight, 0.0f);
    clear();
    drawAt(base, "\x81\x81 ", -40, 0, 20);
    EXPECT_EQ(Frame().lit(), 0);
}

TEST_F(FontTest, GlyphsAreFilledWithTheirCountersOpenAndAdvanceThePen) {
    // An 'O' 40 units to the em: along the middle of its black box a filled
    // glyph shows two solid strokes and an empty counter between them.
    const GlyphMetrics& o = glyphMetrics['O'];
    const double em = 40.0, x = -30.0, y = -20.0;
    clear();
    drawAt(context.font.base, "O", x, y, em);
    const Frame one;
    const auto middle = runs(one, row(y + (o.inkOrigin.y - o.inkHeight / 2) * em));
    ASSERT_EQ(middle.size(), 2u);
    for (auto [from, to] : middle) EXPECT_GE(to - from, 4);
    EXPECT_GT(middle[1].first - middle[0].second, 20);
    // The drawn outline is straightened to within a hundredth of an em (2.7
    // pixels at this size) of the curves the metrics measure.
    EXPECT_NEAR(middle[0].first, column(x + o.inkOrigin.x * em), 3.0);
    EXPECT_NEAR(middle[1].second, column(x + (o.inkOrigin.x + o.inkWidth) * em), 3.0);

    // Each list ends by moving the pen on by its advance.
    clear();
    drawAt(context.font.base, " O", x, y, em);
    const Frame shifted;
    const auto moved = runs(shifted, row(y + (o.inkOrigin.y - o.inkHeight / 2) * em));
    ASSERT_EQ(moved.size(), 2u);
    EXPECT_NEAR(moved[0].first - middle[0].first, glyphMetrics[' '].advance * em * 800 / 120, 1.0);
}

TEST_F(FontTest, MissingFacesFallBackAndOnlyASubstituteIsNamed) {
    // The same design under another family name (Debian's "OCRABold") is
    // taken without a word.
    const FontRequest missingThenOcr[] = {{"No Such Face Qx", true, false}, {"OCR A Bold", true, false}};
    FontChoice choice;
    ::testing::internal::CaptureStderr();
    Font font = buildFont(missingThenOcr, &choice);
    std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(choice.request, 1);
    EXPECT_EQ(said, "");
    EXPECT_GT(font.metrics['A'].advance, 0.0f);
    EXPECT_TRUE(glIsList(font.base + 255));

    // A generic family accepts whatever face it stands for: a substitute,
    // named with the face it stands in for.
    const FontRequest missingThenMono[] = {{"No Such Face Qx", true, false}, {"monospace", true, true}};
    ::testing::internal::CaptureStderr();
    font = buildFont(missingThenMono, &choice);
    said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(choice.request, 1);
    EXPECT_FALSE(choice.family.empty());
    EXPECT_NE(said.find("No Such Face Qx"), std::string::npos) << said;
    EXPECT_NE(said.find(choice.family), std::string::npos) << said;
    EXPECT_GT(font.metrics['A'].advance, 0.0f);

    // Nothing at all: 256 lists that draw nothing, zero advances, and a word on stderr.
    const FontRequest nothing[] = {{"No Such Face Qx", true, false}};
    ::testing::internal::CaptureStderr();
    font = buildFont(nothing, &choice);
    said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(choice.request, -1);
    EXPECT_FALSE(said.empty());
    EXPECT_TRUE(glIsList(font.base) && glIsList(font.base + 255));
    EXPECT_TRUE(std::all_of(font.metrics.begin(), font.metrics.end(),
                            [](const GlyphMetrics& m) { return m.advance == 0.0f; }));
    clear();
    drawAt(font.base, "ABC", -40, 0, 20);
    EXPECT_EQ(Frame().lit(), 0);

    // The preferred face says nothing when it is installed.
    const FontRequest found[] = {{"OCR A Bold", true, false}};
    ::testing::internal::CaptureStderr();
    buildFont(found, &choice);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(choice.request, 0);
}

TEST(GlyphOutline, StraightRunsMergeAndCornersAndBendsStay) {
    using Contour = GlyphTessellator::Contour;
    // A square with extra points along its sides, one of them a hair off the line.
    const Contour square = {{0, 0, 0}, {5, 0, 0}, {10, 0, 0}, {10, 4, 0}, {10.001, 7, 0},
                            {10, 10, 0}, {0, 10, 0}, {0, 5, 0}};
    const Contour corners = simplifyContour(square, 0.01);
    ASSERT_EQ(corners.size(), 4u);
    EXPECT_EQ(corners[0], (GlyphTessellator::Vertex{0, 0, 0}));
    EXPECT_EQ(corners[1], (GlyphTessellator::Vertex{10, 0, 0}));
    EXPECT_EQ(corners[2], (GlyphTessellator::Vertex{10, 10, 0}));
    EXPECT_EQ(corners[3], (GlyphTessellator::Vertex{0, 10, 0}));
    // A bend deeper than the tolerance is kept.
    const Contour notch = {{0, 0, 0}, {5, 0.5, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    EXPECT_EQ(simplifyContour(notch, 0.1).size(), 5u);
    EXPECT_EQ(simplifyContour(notch, 1.0).size(), 4u);
}

TEST(CodePage, WindowsSpecialsMapToUnicodeAndTheRestIsLatin1) {
    EXPECT_EQ(cp1252ToUnicode('A'), U'A');
    EXPECT_EQ(cp1252ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(cp1252ToUnicode(0x85), U'\u2026');
    EXPECT_EQ(cp1252ToUnicode(0x99), U'\u2122');
    EXPECT_EQ(cp1252ToUnicode(0x9F), U'\u0178');
    for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(cp1252ToUnicode(undefined), 0u);
    EXPECT_EQ(cp1252ToUnicode(0xA0), U'\u00A0');
    EXPECT_EQ(cp1252ToUnicode(0xE9), U'\u00E9');
    EXPECT_EQ(cp1252ToUnicode(0xFF), U'\u00FF');
}

}  // namespace
}  // namespace drumhold::testing
