// glyph_outline.cpp -- flattening glyph outlines and filling them with the GLU tessellator.
#include "render/glyph_outline.h"

#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>

namespace drumhold {

namespace {

using Vertex = GlyphTessellator::Vertex;
using Contour = GlyphTessellator::Contour;

struct Flattener {
    std::vector<Contour> contours;
    double scale;
    double tolerance;
    double x = 0, y = 0;  // the pen, in outline units

    void add(double px, double py) {
        x = px;
        y = py;
        Contour& c = contours.back();
        const Vertex v{px * scale, py * scale, 0.0};
        if (c.empty() || c.back() != v) c.push_back(v);
    }

    // Enough segments that a chord strays at most `tolerance` from the curve;
    // `bend` is the size of the curve's second difference.
    int segments(double bend) const {
        const double n = std::ceil(std::sqrt(bend / tolerance));
        return std::clamp(static_cast<int>(n), 1, 32);
    }

    void conic(double cx, double cy, double ex, double ey) {
        const double x0 = x, y0 = y;
        const int n = segments(std::hypot(x0 - 2 * cx + ex, y0 - 2 * cy + ey) / 4);
        for (int i = 1; i <= n; ++i) {
            const double t = static_cast<double>(i) / n, u = 1 - t;
            add(u * u * x0 + 2 * u * t * cx + t * t * ex, u * u * y0 + 2 * u * t * cy + t * t * ey);
        }
    }

    void cubic(double c1x, double c1y, double c2x, double c2y, double ex, double ey) {
        const double x0 = x, y0 = y;
        const double bend = std::max(std::hypot(x0 - 2 * c1x + c2x, y0 - 2 * c1y + c2y),
                                     std::hypot(c1x - 2 * c2x + ex, c1y - 2 * c2y + ey));
        const int n = segments(bend * 3 / 4);
        for (int i = 1; i <= n; ++i) {
            const double t = static_cast<double>(i) / n, u = 1 - t;
            const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
            add(a * x0 + b * c1x + c * c2x + d * ex, a * y0 + b * c1y + c * c2y + d * ey);
        }
    }
};

Flattener& self(void* user) { return *static_cast<Flattener*>(user); }

int moveTo(const FT_Vector* to, void* user) {
    Flattener& f = self(user);
    f.contours.emplace_back();
    f.add(to->x, to->y);
    return 0;
}

int lineTo(const FT_Vector* to, void* user) {
    self(user).add(to->x, to->y);
    return 0;
}

int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    self(user).conic(control->x, control->y, to->x, to->y);
    return 0;
}

int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    self(user).cubic(c1->x, c1->y, c2->x, c2->y, to->x, to->y);
    return 0;
}

void GLAPIENTRY combine(GLdouble coords[3], void* /*vertexData*/[4], GLfloat /*weight*/[4],
                        void** out, void* polygon) {
    auto& combined = static_cast<GlyphTessellator::Polygon*>(polygon)->combined;
    combined.push_back(Vertex{coords[0], coords[1], coords[2]});
    *out = combined.back().data();
}

void GLAPIENTRY vertex(void* data, void* polygon) {
    static_cast<GlyphTessellator::Polygon*>(polygon)->triangles.push_back(static_cast<const GLdouble*>(data));
}

// Asking for edge flags makes the tessellator hand out plain triangles only, so
// a glyph becomes one primitive: far cheaper to replay than strips and fans.
void GLAPIENTRY edgeFlag(GLboolean, void*) {}
void GLAPIENTRY ignoreBegin(GLenum, void*) {}
void GLAPIENTRY ignoreEnd(void*) {}
void GLAPIENTRY tessError(GLenum) {}  // a degenerate outline simply draws less

template <typename F>
_GLUfuncptr callback(F* f) {
    return reinterpret_cast<_GLUfuncptr>(f);
}

}  // namespace

std::vector<Contour> flattenOutline(const FT_Outline& outline, double scale, double tolerance) {
    FT_Outline_Funcs funcs{};
    funcs.move_to = moveTo;
    funcs.line_to = lineTo;
    funcs.conic_to = conicTo;
    funcs.cubic_to = cubicTo;
    Flattener f{{}, scale, tolerance};
    FT_Outline_Decompose(const_cast<FT_Outline*>(&outline), &funcs, &f);
    std::vector<Contour> closed;
    for (Contour& c : f.contours) {
        if (c.size() > 1 && c.front() == c.back()) c.pop_back();  // the loop closes itself
        c = simplifyContour(c, tolerance * scale);
        if (c.size() >= 3) closed.push_back(std::move(c));
    }
    return closed;
}

Contour simplifyContour(const Contour& contour, double tolerance) {
    const std::size_t n = contour.size();
    if (n < 4) return contour;
    // Distance of p from the line through a and b (or from a when they meet).
    auto offLine = [](const Vertex& p, const Vertex& a, const Vertex& b) {
        const double dx = b[0] - a[0], dy = b[1] - a[1];
        const double length = std::hypot(dx, dy);
        if (length == 0) return std::hypot(p[0] - a[0], p[1] - a[1]);
        return std::abs((p[0] - a[0]) * dy - (p[1] - a[1]) * dx) / length;
    };
    // From each kept point, reach as far along the loop as a straight edge can
    // while every skipped point stays within the tolerance of it.
    Contour kept{contour[0]};
    std::size_t anchor = 0;
    while (anchor < n) {
        std::size_t end = anchor + 1;
        while (end + 1 <= n) {
            const std::size_t next = end + 1;
            const Vertex& target = contour[next % n];
            bool straight = true;
            for (std::size_t k = anchor + 1; k < next && straight; ++k)
                straight = offLine(contour[k], contour[anchor], target) <= tolerance;
            if (!straight) break;
            end = next;
        }
        if (end >= n) break;
        kept.push_back(contour[end]);
        anchor = end;
    }
    return kept;
}

GlyphTessellator::GlyphTessellator() : tess_(gluNewTess()) {
    gluTessCallback(tess_, GLU_TESS_BEGIN_DATA, callback(ignoreBegin));
    gluTessCallback(tess_, GLU_TESS_VERTEX_DATA, callback(vertex));
    gluTessCallback(tess_, GLU_TESS_END_DATA, callback(ignoreEnd));
    gluTessCallback(tess_, GLU_TESS_EDGE_FLAG_DATA, callback(edgeFlag));
    gluTessCallback(tess_, GLU_TESS_COMBINE_DATA, callback(combine));
    gluTessCallback(tess_, GLU_TESS_ERROR, callback(tessError));
    gluTessNormal(tess_, 0.0, 0.0, 1.0);  // flat glyphs facing the viewer
}

GlyphTessellator::~GlyphTessellator() { gluDeleteTess(tess_); }

int GlyphTessellator::fill(const FT_Outline& outline, double scale, double tolerance,
                           std::vector<float>& triangles) {
    contours_ = flattenOutline(outline, scale, tolerance);
    if (contours_.empty()) return 0;
    // TrueType fills by the non-zero rule unless the outline says even-odd.
    const bool evenOdd = (outline.flags & FT_OUTLINE_EVEN_ODD_FILL) != 0;
    gluTessProperty(tess_, GLU_TESS_WINDING_RULE,
                    evenOdd ? GLU_TESS_WINDING_ODD : GLU_TESS_WINDING_NONZERO);
    gluTessBeginPolygon(tess_, &polygon_);
    for (Contour& contour : contours_) {
        gluTessBeginContour(tess_);
        for (Vertex& v : contour) gluTessVertex(tess_, v.data(), v.data());
        gluTessEndContour(tess_);
    }
    gluTessEndPolygon(tess_);

    const std::size_t corners = polygon_.triangles.size() / 3 * 3;
    for (std::size_t i = 0; i < corners; ++i) {
        const GLdouble* v = polygon_.triangles[i];
        triangles.push_back(static_cast<float>(v[0]));
        triangles.push_back(static_cast<float>(v[1]));
    }
    polygon_.triangles.clear();
    polygon_.combined.clear();
    contours_.clear();
    return static_cast<int>(corners / 3);
}

}  // namespace drumhold
