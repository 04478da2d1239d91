// glyph_outline.h -- turns one FreeType outline into filled GL polygons.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <deque>
#include <vector>

#include "render/gl.h"

namespace drumhold {

class GlyphTessellator {
public:
    GlyphTessellator();
    ~GlyphTessellator();
    GlyphTessellator(const GlyphTessellator&) = delete;
    GlyphTessellator& operator=(const GlyphTessellator&) = delete;

    // Appends the filled outline to `triangles` as x, y pairs, three corners a
    // triangle, its coordinates multiplied by `scale`. Curves are flattened to
    // within `tolerance` (in the outline's own units). Needs no GL context.
    // Returns the number of triangles.
    int fill(const FT_Outline& outline, double scale, double tolerance, std::vector<float>& triangles);

    using Vertex = std::array<GLdouble, 3>;
    using Contour = std::vector<Vertex>;

    // What the tessellator's callbacks gather for one glyph.
    struct Polygon {
        std::deque<Vertex> combined;     // vertices made where contours cross
        std::vector<const GLdouble*> triangles;  // three corners per triangle
    };

private:
    GLUtesselator* tess_;
    std::vector<Contour> contours_;
    Polygon polygon_;
};

// Drops the points of a closed polyline that lie within `tolerance` of the
// straight edge that replaces them.
GlyphTessellator::Contour simplifyContour(const GlyphTessellator::Contour& contour, double tolerance);

// Flattens an outline into closed polylines (no repeated closing point),
// straight runs merged into single edges.
std::vector<GlyphTessellator::Contour> flattenOutline(const FT_Outline& outline, double scale,
                                                      double tolerance);

}  // namespace drumhold
