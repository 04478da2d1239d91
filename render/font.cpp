// font.cpp -- building the 256 glyph lists and their metrics from an outline font.
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

void fillGlyphs(Font& out, const FaceLoader& font) {
    const double em = font.face->units_per_EM;
    const double scale = 1.0 / em;
    const float fallback = static_cast<float>(defaultAdvance(font) * scale);
    GlyphTessellator tessellator;
    for (int code = 0; code < 256; ++code) {
        GlyphMetricsFloat& m = out.metrics[static_cast<std::size_t>(code)];
        m = GlyphMetricsFloat{0.0f, 0.0f, {0.0f, 0.0f}, fallback, 0.0f};
        const char32_t unicode = cp1252ToUnicode(static_cast<unsigned char>(code));
        const FT_UInt index = unicode ? FT_Get_Char_Index(font.face, unicode) : 0;
        glNewList(out.base + static_cast<unsigned>(code), GL_COMPILE);
        if (index != 0 && font.load(index)) {
            // The inked box of the curves themselves, not of their control points.
            FT_BBox box{};
            FT_Outline_Get_BBox(&font.face->glyph->outline, &box);
            m.gmfBlackBoxX = static_cast<float>((box.xMax - box.xMin) * scale);
            m.gmfBlackBoxY = static_cast<float>((box.yMax - box.yMin) * scale);
            m.gmfptGlyphOrigin = {static_cast<float>(box.xMin * scale),
                                  static_cast<float>(box.yMax * scale)};
            m.gmfCellIncX = static_cast<float>(font.face->glyph->metrics.horiAdvance * scale);
            tessellator.fill(font.face->glyph->outline, scale, flatness * em);
        }
        glTranslatef(m.gmfCellIncX, 0.0f, 0.0f);
        glEndList();
    }
}

}  // namespace

char32_t cp1252ToUnicode(unsigned char code) {
    if (code >= 0x80 && code <= 0x9F) return cp1252Specials[code - 0x80];
    return code;  // elsewhere the code page agrees with Latin-1
}

Font buildFont(std::span<const FontRequest> requests, FontChoice* choice) {
    Font out;
    out.base = glGenLists(256);
    FontChoice found = findFontFace(requests);
    const FaceLoader font(found.file);
    if (found.request < 0 || !font.face) {
        std::fprintf(stderr, "drumhold: no usable outline font found; text will not be drawn\n");
        for (unsigned code = 0; code < 256; ++code) {
            glNewList(out.base + code, GL_COMPILE);
            glEndList();
        }
        found.request = -1;
    } else {
        if (found.request > 0)
            std::fprintf(stderr, "drumhold: font \"%s\" is not installed; using \"%s\" (%s)\n",
                         requests[0].family, found.family.c_str(), found.file.c_str());
        fillGlyphs(out, font);
    }
    if (choice) *choice = std::move(found);
    return out;
}

}  // namespace drumhold
