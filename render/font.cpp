// font.cpp -- reading a face once, filling its glyphs, and compiling them into lists.
#include "render/font.h"

#include <cstdio>

#include "render/gl.h"
#include "render/glyph_outline.h"

#include FT_BBOX_H

namespace drumhold {

namespace {

// Outlines are flattened and straightened to within this fraction of an em:
// about half a pixel on the largest text on the screen, and each glyph stays
// a few dozen triangles.
constexpr double flatness = 0.01;

// Windows-1252 0x80..0x9F: typographic specials where Latin-1 has controls.
constexpr char32_t cp1252Specials[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// Owns the FreeType library and face for the length of one build.
struct FaceLoader {
    FT_Library library = nullptr;
    FT_Face face = nullptr;

    explicit FaceLoader(const std::string& file) {
        if (FT_Init_FreeType(&library) != 0) {
            library = nullptr;
            return;
        }
        if (FT_New_Face(library, file.c_str(), 0, &face) != 0 || !FT_IS_SCALABLE(face)) {
            if (face) FT_Done_Face(face);
            face = nullptr;
            return;
        }
        // Prefer the Unicode map; a symbol font keeps whatever map it has.
        FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    }
    ~FaceLoader() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
    FaceLoader(const FaceLoader&) = delete;
    FaceLoader& operator=(const FaceLoader&) = delete;

    // Loads a glyph in font units (unscaled, unhinted outlines).
    bool load(FT_UInt index) const {
        return FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP) == 0 &&
               face->glyph->format == FT_GLYPH_FORMAT_OUTLINE;
    }
};

// The advance of a code with no glyph: that of the blank, else of .notdef.
double defaultAdvance(const FaceLoader& font) {
    const FT_UInt space = FT_Get_Char_Index(font.face, U' ');
    if (space != 0 && font.load(space)) return font.face->glyph->metrics.horiAdvance;
    if (font.load(0)) return font.face->glyph->metrics.horiAdvance;
    return 0.0;
}

// Fills the metrics and outlines of every code from the face. False when the
// face cannot be drawn with: fewer than half of the printable ASCII characters
// it claims to have give an outline (a damaged file loads, then yields nothing
// or garbage).
bool fillGlyphs(FontOutlines& out, const FaceLoader& font) {
    const double em = font.face->units_per_EM;
    const double scale = 1.0 / em;
    const float fallback = static_cast<float>(defaultAdvance(font) * scale);
    GlyphTessellator tessellator;
    int claimed = 0, filled = 0;
    for (std::size_t code = 0; code < 256; ++code) {
        GlyphMetrics& m = out.metrics[code];
        m = GlyphMetrics{0.0f, 0.0f, {0.0f, 0.0f}, fallback};
        out.triangles[code].clear();
        const char32_t unicode = cp1252ToUnicode(static_cast<unsigned char>(code));
        const FT_UInt index = unicode ? FT_Get_Char_Index(font.face, unicode) : 0;
        const bool printable = code > 0x20 && code < 0x7F;
        claimed += printable && index != 0;
        if (index == 0 || !font.load(index)) continue;
        // The inked box of the curves themselves, not of their control points.
        FT_BBox box{};
        FT_Outline_Get_BBox(&font.face->glyph->outline, &box);
        m.inkWidth = static_cast<float>((box.xMax - box.xMin) * scale);
        m.inkHeight = static_cast<float>((box.yMax - box.yMin) * scale);
        m.inkOrigin = {static_cast<float>(box.xMin * scale), static_cast<float>(box.yMax * scale)};
        m.advance = static_cast<float>(font.face->glyph->metrics.horiAdvance * scale);
        if (tessellator.fill(font.face->glyph->outline, scale, flatness * em, out.triangles[code]) > 0)
            filled += printable;
    }
    return claimed > 0 && filled * 2 >= claimed;
}

void say(const char* what, const FontChoice& choice) {
    std::fprintf(stderr, "drumhold: font file %s (\"%s\") %s; trying the next face\n", choice.file.c_str(),
                 choice.family.c_str(), what);
}

}  // namespace

char32_t cp1252ToUnicode(unsigned char code) {
    if (code >= 0x80 && code <= 0x9F) return cp1252Specials[code - 0x80];
    return code;  // elsewhere the code page agrees with Latin-1
}

FontOutlines loadFontOutlines(std::span<const FontRequest> requests) {
    FontOutlines out;
    std::vector<std::string> passedOver;  // files that could not be used
    for (;;) {
        FontChoice choice = findFontFace(requests, passedOver);
        if (choice.request < 0) break;
        const FaceLoader font(choice.file);
        if (!font.face) {
            say("cannot be read", choice);
        } else if (!fillGlyphs(out, font)) {
            say("yields no glyph outlines", choice);
        } else {
            // A word only when something is wrong: after a damaged face, say
            // which one draws instead; a generic family is another design, a
            // substitute. The wanted design under another name says nothing.
            if (!passedOver.empty())
                std::fprintf(stderr, "drumhold: using font \"%s\" (%s)\n", choice.family.c_str(), choice.file.c_str());
            else if (requests[static_cast<std::size_t>(choice.request)].generic)
                std::fprintf(stderr, "drumhold: font \"%s\" is not installed; using \"%s\" (%s)\n", requests[0].family,
                             choice.family.c_str(), choice.file.c_str());
            out.choice = std::move(choice);
            return out;
        }
        passedOver.push_back(choice.file);
    }
    std::fprintf(stderr, "drumhold: no usable outline font found; text will not be drawn\n");
    out = FontOutlines{};
    return out;
}

Font compileFont(const FontOutlines& outlines) {
    Font font;
    font.base = glGenLists(256);
    font.metrics = outlines.metrics;
    for (std::size_t code = 0; code < 256; ++code) {
        glNewList(font.base + static_cast<unsigned>(code), GL_COMPILE);
        const std::vector<float>& corners = outlines.triangles[code];
        if (!corners.empty()) {
            glBegin(GL_TRIANGLES);
            for (std::size_t i = 0; i + 1 < corners.size(); i += 2) glVertex2f(corners[i], corners[i + 1]);
            glEnd();
        }
        glTranslatef(outlines.metrics[code].advance, 0.0f, 0.0f);
        glEndList();
    }
    return font;
}

Font buildFont(std::span<const FontRequest> requests, FontChoice* choice) {
    const FontOutlines outlines = loadFontOutlines(requests);
    if (choice) *choice = outlines.choice;
    return compileFont(outlines);
}

}  // namespace drumhold
