// font.h -- the outline font: 256 display lists of filled glyphs and their metrics.
//
// Each list draws one character code of the Windows-1252 code page as filled
// polygons in em units (em square 1.0, pen at the origin, baseline y = 0) and
// then moves the pen right by the glyph's advance.
#pragma once

#include <span>
#include <string>

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

// Filled by every buildFont; indexed by character code.
extern GlyphMetricsFloat glyphMetrics[256];

// A face to look for. fontconfig always answers with some font, so a named
// family only counts when the answer is that family; a generic one (such as
// "monospace") accepts whatever it maps to.
struct FontRequest {
    const char* family;
    bool bold;
    bool generic;
};

// "OCR A Extended" bold, then the OCR-A faces, then any bold monospace.
extern const std::span<const FontRequest> defaultFontRequests;

// The face that answered a request list.
struct FontChoice {
    int request = -1;    // index into the request list; -1 when none answered
    std::string family;  // as the font names itself
    std::string file;
};

// Allocates 256 consecutive lists, fills them and `glyphMetrics` from the first
// request that can be met, and returns the first list. When the face is not the
// first request the choice is reported on standard error. If no face can be
// loaded at all, the lists draw nothing and every advance is 0.
unsigned buildFont(std::span<const FontRequest> requests = defaultFontRequests,
                   FontChoice* choice = nullptr);

// Finds the first request fontconfig can meet (request -1 when none).
FontChoice findFontFace(std::span<const FontRequest> requests);

// The Unicode code point of a Windows-1252 byte; 0 for the five undefined codes.
char32_t cp1252ToUnicode(unsigned char code);

}  // namespace drumhold
