// font.h -- the outline font: 256 display lists of filled glyphs and their metrics.
//
// Each list draws one character code of the Windows-1252 code page as filled
// polygons in em units (em square 1.0, pen at the origin, baseline y = 0) and
// then moves the pen right by the glyph's advance.
#pragma once

#include <array>
#include <span>

#include "render/font_face.h"

namespace drumhold {

struct GlyphPoint {
    float x, y;
};

// One glyph's measures in em units.
struct GlyphMetricsFloat {
    float gmfBlackBoxX;           // width of the inked box
    float gmfBlackBoxY;           // height of the inked box
    GlyphPoint gmfptGlyphOrigin;  // top-left corner of the inked box from the pen
    float gmfCellIncX;            // advance
    float gmfCellIncY;
};

// The font of one GL context.
struct Font {
    unsigned base = 0;  // the list of code 0; code c is base + c
    std::array<GlyphMetricsFloat, 256> metrics{};
};

// Allocates 256 consecutive lists in the current context and fills them from
// the first request that can be met. When the face is not the first request
// the choice is reported on standard error. If no face can be loaded at all,
// the lists draw nothing and every advance is 0.
Font buildFont(std::span<const FontRequest> requests = defaultFontRequests,
               FontChoice* choice = nullptr);

// The Unicode code point of a Windows-1252 byte; 0 for the five undefined codes.
char32_t cp1252ToUnicode(unsigned char code);

}  // namespace drumhold
