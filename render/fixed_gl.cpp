// fixed_gl.cpp -- the fixed functions as vertex arrays: matrices, colour,
// primitives and display lists, gathered into a few draws a frame.
#include "render/fixed_gl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "render/gl.h"

// The quadric's state: only its draw style is ever set.
class GLUquadric {
public:
    unsigned drawStyle = GLU_FILL;
};

namespace drumhold {

namespace {

constexpr double kPi = 3.14159265358979323846;
// GL's least depths of the model-view stack and of lists calling lists.
constexpr std::size_t kMatrixDepth = 32;
constexpr int kListDepth = 64;

constexpr std::array<float, 16> kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

FixedGl* currentGl = nullptr;

[[noreturn]] void fail(const char* what, const char* detail = "") {
    std::fprintf(stderr, "drumhold: %s%s\n", what, detail);
    std::abort();
}

// As GL turns a colour component into a byte of the frame buffer.
std::uint8_t toByte(float component) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(component, 0.0f, 1.0f) * 255.0f));
}

FixedVertex transform(const std::array<float, 16>& m, const FixedPoint& p, const std::array<std::uint8_t, 4>& colour) {
    return {{m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
             m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]},
            colour};
}

}  // namespace

FixedGl::FixedGl(FixedGlBackend& backend) : backend_(backend), previous_(currentGl), matrices_{kIdentity} {
    currentGl = this;
}

FixedGl::~FixedGl() {
    if (currentGl == this) currentGl = previous_;
}

FixedGl& FixedGl::current() {
    if (!currentGl) fail("a GL call with no GL context");
    return *currentGl;
}

void FixedGl::notWhileCompiling(const char* call) const {
    if (compiling_) fail(call, " while a display list compiles: it would not be recorded in the list");
}

void FixedGl::flush() {
    if (commands_.empty()) return;
    if (!vertices_.empty()) backend_.upload(vertices_);
    for (const Command& c : commands_) {
        switch (c.kind) {
        case Command::Draw: backend_.draw(static_cast<unsigned>(c.i[0]), c.i[1], c.i[2]); break;
        case Command::Clear: backend_.clear(static_cast<unsigned>(c.i[0])); break;
        case Command::ClearColour:
            backend_.clearColor(static_cast<float>(c.f[0]), static_cast<float>(c.f[1]), static_cast<float>(c.f[2]),
                                static_cast<float>(c.f[3]));
            break;
        case Command::ClearDepth: backend_.clearDepth(c.f[0]); break;
        case Command::Viewport: backend_.viewport(c.i[0], c.i[1], c.i[2], c.i[3]); break;
        case Command::Scissor: backend_.scissor(c.i[0], c.i[1], c.i[2], c.i[3]); break;
        case Command::ScissorTest: backend_.scissorTest(c.i[0] != 0); break;
        case Command::LineWidth: backend_.lineWidth(static_cast<float>(c.f[0])); break;
        }
    }
    commands_.clear();
    vertices_.clear();
}

// --- what goes to the backend as it is ---------------------------------------

void FixedGl::clear(unsigned mask) {
    notWhileCompiling("glClear");
    commands_.push_back({Command::Clear, {static_cast<int>(mask)}});
}

void FixedGl::clearColor(float red, float green, float blue, float alpha) {
    notWhileCompiling("glClearColor");
    commands_.push_back({Command::ClearColour, {}, {red, green, blue, alpha}});
}

void FixedGl::clearDepth(double depth) {
    notWhileCompiling("glClearDepth");
    commands_.push_back({Command::ClearDepth, {}, {depth}});
}

void FixedGl::viewport(int x, int y, int width, int height) {
    notWhileCompiling("glViewport");
    commands_.push_back({Command::Viewport, {x, y, width, height}});
}

void FixedGl::scissor(int x, int y, int width, int height) {
    notWhileCompiling("glScissor");
    commands_.push_back({Command::Scissor, {x, y, width, height}});
}

void FixedGl::enable(unsigned capability) {
    notWhileCompiling("glEnable");
    if (capability != GL_SCISSOR_TEST) fail("glEnable of a capability other than GL_SCISSOR_TEST");
    commands_.push_back({Command::ScissorTest, {1}});
}

void FixedGl::disable(unsigned capability) {
    notWhileCompiling("glDisable");
    if (capability != GL_SCISSOR_TEST) fail("glDisable of a capability other than GL_SCISSOR_TEST");
    commands_.push_back({Command::ScissorTest, {0}});
}

void FixedGl::lineWidth(float width) {
    notWhileCompiling("glLineWidth");
    commands_.push_back({Command::LineWidth, {}, {width}});
}

// --- the model-view matrix ------------------------------------------------------

// The current matrix times `by`, summed in GL's order.
void FixedGl::multiply(const Matrix& by) {
    Matrix& a = matrices_.back();
    Matrix product;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            product[column * 4 + row] = a[row] * by[column * 4] + a[4 + row] * by[column * 4 + 1] +
                                        a[8 + row] * by[column * 4 + 2] + a[12 + row] * by[column * 4 + 3];
    a = product;
}

void FixedGl::ortho(double left, double right, double bottom, double top, double near, double far) {
    notWhileCompiling("glOrtho");
    Matrix m = kIdentity;
    m[0] = static_cast<float>(2.0 / (right - left));
    m[5] = static_cast<float>(2.0 / (top - bottom));
    m[10] = static_cast<float>(-2.0 / (far - near));
    m[12] = static_cast<float>(-(right + left) / (right - left));
    m[13] = static_cast<float>(-(top + bottom) / (top - bottom));
    m[14] = static_cast<float>(-(far + near) / (far - near));
    multiply(m);
}

void FixedGl::pushMatrix() {
    if (compiling_) return record({ListStep::Push});
    if (matrices_.size() < kMatrixDepth) matrices_.push_back(matrices_.back());
}

void FixedGl::popMatrix() {
    if (compiling_) return record({ListStep::Pop});
    if (matrices_.size() > 1) matrices_.pop_back();
}

void FixedGl::translatef(float x, float y, float z) {
    if (compiling_) return record({ListStep::Translate, 0, 0, 0, {x, y, z}});
    Matrix& m = matrices_.back();
    for (int row = 0; row < 4; ++row) m[12 + row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
}

void FixedGl::rotatef(float angle, float x, float y, float z) {
    if (compiling_) return record({ListStep::Rotate, 0, 0, 0, {angle, x, y, z}});
    const auto s = static_cast<float>(std::sin(angle * kPi / 180.0));
    const auto c = static_cast<float>(std::cos(angle * kPi / 180.0));
    Matrix m = kIdentity;
    const auto at = [&m](int row, int column) -> float& { return m[column * 4 + row]; };
    // About an axis the sine and cosine go in as they are, as GL has them.
    if (x == 0.0f && y == 0.0f && z != 0.0f) {
        const float sz = z < 0.0f ? -s : s;
        at(0, 0) = c, at(1, 1) = c, at(0, 1) = -sz, at(1, 0) = sz;
    } else if (x == 0.0f && z == 0.0f && y != 0.0f) {
        const float sy = y < 0.0f ? -s : s;
        at(0, 0) = c, at(2, 2) = c, at(0, 2) = sy, at(2, 0) = -sy;
    } else if (y == 0.0f && z == 0.0f && x != 0.0f) {
        const float sx = x < 0.0f ? -s : s;
        at(1, 1) = c, at(2, 2) = c, at(1, 2) = -sx, at(2, 1) = sx;
    } else {
        const float length = std::sqrt(x * x + y * y + z * z);
        if (length <= 1.0e-4f) return;
        x /= length, y /= length, z /= length;
        const float k = 1.0f - c;
        at(0, 0) = k * x * x + c, at(0, 1) = k * x * y - z * s, at(0, 2) = k * z * x + y * s;
        at(1, 0) = k * x * y + z * s, at(1, 1) = k * y * y + c, at(1, 2) = k * y * z - x * s;
        at(2, 0) = k * z * x - y * s, at(2, 1) = k * y * z + x * s, at(2, 2) = k * z * z + c;
    }
    multiply(m);
}

void FixedGl::scalef(float x, float y, float z) {
    if (compiling_) return record({ListStep::Scale, 0, 0, 0, {x, y, z}});
    Matrix& m = matrices_.back();
    for (int row = 0; row < 4; ++row) m[row] *= x, m[4 + row] *= y, m[8 + row] *= z;
}

// --- primitives -------------------------------------------------------------------

void FixedGl::color4f(float red, float green, float blue, float alpha) {
    if (compiling_) {
        // A list holds colours between primitives only.
        if (between_) fail("glColor between glBegin and glEnd while a display list compiles");
        return record({ListStep::SetColour, 0, 0, 0, {red, green, blue, alpha}});
    }
    colour_ = {toByte(red), toByte(green), toByte(blue), toByte(alpha)};
}

void FixedGl::begin(unsigned mode) {
    switch (mode) {
    case GL_LINES: case GL_LINE_STRIP: case GL_LINE_LOOP:
    case GL_TRIANGLES: case GL_TRIANGLE_STRIP: case GL_TRIANGLE_FAN:
        break;
    default:
        fail("glBegin of a primitive other than lines and triangles");
    }
    if (between_) return;  // GL ignores it
    between_ = true;
    mode_ = mode;
    points_.clear();
    colours_.clear();
}

void FixedGl::vertex3f(float x, float y, float z) {
    if (!between_) return;
    points_.push_back({x, y, z});
    colours_.push_back(colour_);
}

unsigned FixedGl::assemble() {
    order_.clear();
    const auto n = static_cast<std::uint32_t>(points_.size());
    // A segment of no length draws nothing, in GL as here (a disk's centre
    // is one); kept out, it costs nothing.
    const auto segment = [this](std::uint32_t a, std::uint32_t b) {
        if (!(points_[a] == points_[b])) order_.insert(order_.end(), {a, b});
    };
    const auto triangle = [this](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
        order_.insert(order_.end(), {a, b, c});
    };
    switch (mode_) {
    case GL_LINES:
        for (std::uint32_t i = 0; i + 1 < n; i += 2) segment(i, i + 1);
        return GL_LINES;
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
        for (std::uint32_t i = 0; i + 1 < n; ++i) segment(i, i + 1);
        if (mode_ == GL_LINE_LOOP && n > 1) segment(n - 1, 0);
        return GL_LINES;
    case GL_TRIANGLES:
        for (std::uint32_t i = 0; i + 2 < n; i += 3) triangle(i, i + 1, i + 2);
        return GL_TRIANGLES;
    case GL_TRIANGLE_STRIP:
        // Every other one turned back, so that all keep the first one's winding.
        for (std::uint32_t i = 0; i + 2 < n; ++i) i % 2 ? triangle(i + 1, i, i + 2) : triangle(i, i + 1, i + 2);
        return GL_TRIANGLES;
    default:  // GL_TRIANGLE_FAN
        for (std::uint32_t i = 1; i + 1 < n; ++i) triangle(0, i, i + 1);
        return GL_TRIANGLES;
    }
}

void FixedGl::end() {
    if (!between_) return;
    between_ = false;
    const unsigned mode = assemble();
    if (order_.empty()) return;
    if (compiling_) {
        std::vector<FixedPoint>& points = compiled_.points;
        const auto first = static_cast<unsigned>(points.size());
        for (const std::uint32_t i : order_) points.push_back(points_[i]);
        // One step for a run of primitives of a kind: a tank's loops are one.
        std::vector<ListStep>& steps = compiled_.steps;
        if (!steps.empty() && steps.back().kind == ListStep::Geometry && steps.back().mode == mode &&
            steps.back().first + steps.back().count == first)
            steps.back().count += static_cast<unsigned>(order_.size());
        else
            record({ListStep::Geometry, mode, first, static_cast<unsigned>(order_.size())});
        return;
    }
    const Matrix& m = matrices_.back();
    for (const std::uint32_t i : order_) vertices_.push_back(transform(m, points_[i], colours_[i]));
    drawn(mode, order_.size());
}

void FixedGl::draw(unsigned mode, std::span<const FixedPoint> points) {
    const Matrix& m = matrices_.back();
    for (const FixedPoint& p : points) vertices_.push_back(transform(m, p, colour_));
    drawn(mode, points.size());
}

void FixedGl::drawn(unsigned mode, std::size_t count) {
    // Vertices only ever come at the end, so the last draw of the same kind
    // with nothing between takes them.
    if (!commands_.empty() && commands_.back().kind == Command::Draw &&
        commands_.back().i[0] == static_cast<int>(mode)) {
        commands_.back().i[2] += static_cast<int>(count);
        return;
    }
    const auto first = static_cast<int>(vertices_.size() - count);
    commands_.push_back({Command::Draw, {static_cast<int>(mode), first, static_cast<int>(count)}});
}

// --- display lists ------------------------------------------------------------

unsigned FixedGl::genLists(int range) {
    if (range <= 0) return 0;
    const unsigned first = nextList_;
    nextList_ += static_cast<unsigned>(range);
    return first;
}

void FixedGl::newList(unsigned list, unsigned mode) {
    if (mode != GL_COMPILE) fail("glNewList other than GL_COMPILE");
    if (list == 0 || compiling_ || between_) return;  // GL ignores it
    compiling_ = list;
    compiled_ = List{};
}

void FixedGl::endList() {
    if (!compiling_ || between_) return;
    lists_[compiling_] = std::move(compiled_);
    compiled_ = List{};
    compiling_ = 0;
}

void FixedGl::deleteLists(unsigned list, int range) {
    for (int i = 0; i < range; ++i) lists_.erase(list + static_cast<unsigned>(i));
}

void FixedGl::listBase(unsigned base) {
    notWhileCompiling("glListBase");
    base_ = base;
}

void FixedGl::callList(unsigned list) {
    if (compiling_) return record({ListStep::Call, 0, list});
    const auto found = lists_.find(list);
    if (found == lists_.end() || depth_ >= kListDepth) return;
    ++depth_;
    const List& called = found->second;
    for (const ListStep& step : called.steps) run(called, step);
    --depth_;
}

void FixedGl::callLists(int count, unsigned type, const void* lists) {
    if (type != GL_UNSIGNED_BYTE) fail("glCallLists with names other than GL_UNSIGNED_BYTE");
    const auto* offsets = static_cast<const std::uint8_t*>(lists);
    for (int i = 0; i < count; ++i) {
        if (compiling_)
            record({ListStep::CallFromBase, 0, offsets[i]});
        else
            callList(base_ + offsets[i]);
    }
}

void FixedGl::run(const List& list, const ListStep& step) {
    const float* v = step.v;
    switch (step.kind) {
    case ListStep::Geometry: draw(step.mode, std::span(list.points).subspan(step.first, step.count)); break;
    case ListStep::SetColour: color4f(v[0], v[1], v[2], v[3]); break;
    case ListStep::Translate: translatef(v[0], v[1], v[2]); break;
    case ListStep::Rotate: rotatef(v[0], v[1], v[2], v[3]); break;
    case ListStep::Scale: scalef(v[0], v[1], v[2]); break;
    case ListStep::Push: pushMatrix(); break;
    case ListStep::Pop: popMatrix(); break;
    case ListStep::Call: callList(step.first); break;
    case ListStep::CallFromBase: callList(base_ + step.first); break;
    }
}

// --- GLU's quadrics -----------------------------------------------------------

GLUquadric* FixedGl::newQuadric() { return new GLUquadric; }

void FixedGl::deleteQuadric(GLUquadric* quadric) { delete quadric; }

void FixedGl::quadricDrawStyle(GLUquadric* quadric, unsigned style) { quadric->drawStyle = style; }

void FixedGl::disk(GLUquadric* quadric, double inner, double outer, int slices, int loops) {
    if (quadric->drawStyle != GLU_SILHOUETTE) fail("gluDisk in a style other than GLU_SILHOUETTE");
    // GLU's sums, in its types: float sines of float angles.
    constexpr int kCache = 240;
    slices = std::min(slices, kCache - 1);
    if (slices < 2 || loops < 1 || outer <= 0.0 || inner < 0.0 || inner > outer) return;
    float sines[kCache], cosines[kCache];
    for (int i = 0; i <= slices; ++i) {
        const auto angle = static_cast<float>(0.0f + ((kPi * 360.0) / 180.0) * i / slices);
        sines[i] = static_cast<float>(std::sin(angle));
        cosines[i] = static_cast<float>(std::cos(angle));
    }
    sines[slices] = sines[0];
    cosines[slices] = cosines[0];
    const auto width = static_cast<float>(outer - inner);
    // The outer edge, then the inner one (at radius 0 a point, which draws nothing).
    for (int j = 0; j <= loops; j += loops) {
        const auto radius = static_cast<float>(outer - width * (static_cast<float>(j) / loops));
        begin(GL_LINE_STRIP);
        for (int i = 0; i <= slices; ++i) vertex3f(radius * sines[i], radius * cosines[i], 0.0f);
        end();
        if (inner == outer) break;
    }
}

}  // namespace drumhold
