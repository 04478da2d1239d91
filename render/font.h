// font.h -- the outline font: 256 display lists of filled glyphs and their metrics.
//
// Each list draws one character code of the Windows-1252 code page as filled
// polygons in em units (em square 1.0, pen at the origin, baseline y = 0) and
// then moves the pen right by the glyph's advance. The face is found, read and
// its outlines filled once per process (FontOutlines); each GL context then
// compiles its own lists from them (Font).
#pragma once

#include <array>
#include <span>
#include <vector>

#include "render/font_face.h"

namespace drumhold {

struct GlyphPoint {
    float x, y;
};

// One glyph's measures in em units, as FreeType gives them.
struct GlyphMetrics {
    float inkWidth;        // width of the inked box
    float inkHeight;       // height of the inked box
    GlyphPoint inkOrigin;  // top-left corner of the inked box from the pen
    float advance;         // how far the pen moves right after the glyph
};

// A face's 256 glyphs: their metrics and their filled outlines.
struct FontOutlines {
    std::array<GlyphMetrics, 256> metrics{};
    std::array<std::vector<float>, 256> triangles;  // x, y of each corner; three corners a triangle
    FontChoice choice;                              // request -1: no face could be used
};

// The font of one GL context.
struct Font {
    unsigned base = 0;  // the list of code 0; code c is base + c
    std::array<GlyphMetrics, 256> metrics{};
};

// Finds the first request whose face can be read and yields glyph outlines,
// and fills its glyphs. Says on standard error, one line each, why a face was
// passed over and then which face is used, or that a generic request's face
// stands in for the first request's; nothing when a named family answers. If
// no face can be used, every glyph is empty with advance 0 (and it says so).
FontOutlines loadFontOutlines(std::span<const FontRequest> requests = defaultFontRequests);

// 256 consecutive lists in the current context, from the outlines.
Font compileFont(const FontOutlines& outlines);

// Both at once: a font for the current context.
Font buildFont(std::span<const FontRequest> requests = defaultFontRequests, FontChoice* choice = nullptr);

// The Unicode code point of a Windows-1252 byte; 0 for the five undefined codes.
char32_t cp1252ToUnicode(unsigned char code);

}  // namespace drumhold
