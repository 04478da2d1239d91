// fixed_gl.h -- OpenGL 1.x's fixed functions, as far as the game draws with
// them, over a context that only draws arrays (WebGL).
//
// The matrix stack, the current colour, glBegin..glEnd and display lists are
// kept here; what they draw becomes vertices already transformed (clip
// coordinates; every matrix here is affine, so w is 1) with the colour of
// each, gathered for the whole frame. A line loop or strip becomes its
// segments, a fan or strip its triangles, so a frame is a few draws of
// independent lines and triangles, one more only where the kind changes or
// another GL call (a clear, the scissor, the viewport, the line width) comes
// between, in the order they were made. A list is recorded as geometry and
// the matrix and colour steps around it; calling it appends its vertices,
// transformed as they are then.
//
// render/gl.h gives the render code's GL and GLU names to the current FixedGl
// where it is used (the browser build, and the tests that compare it with the
// desktop's GL). A GL call the render code has no need of is not here, and the
// browser build refuses it. While a list compiles, a call that GL would record
// in it but this one does not (a clear, a viewport, ...) stops the program
// with its name.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

// GLU's quadric (glu.h declares it so in C++).
class GLUquadric;

namespace drumhold {

struct FixedPoint {
    float x, y, z;
    bool operator==(const FixedPoint&) const = default;
};

// A vertex as it is drawn: clip coordinates and an RGBA colour of bytes.
struct FixedVertex {
    FixedPoint at;
    std::array<std::uint8_t, 4> colour;
};
static_assert(sizeof(FixedVertex) == 16);

// Where a frame goes: the context's own calls, in order, each once a flush
// comes. The vertices of every draw until the next upload are uploaded first.
class FixedGlBackend {
public:
    virtual ~FixedGlBackend() = default;
    virtual void upload(std::span<const FixedVertex> vertices) = 0;
    // GL_LINES or GL_TRIANGLES, from the vertices uploaded last.
    virtual void draw(unsigned mode, int first, int count) = 0;
    virtual void clear(unsigned mask) = 0;
    virtual void clearColor(float red, float green, float blue, float alpha) = 0;
    virtual void clearDepth(double depth) = 0;
    virtual void viewport(int x, int y, int width, int height) = 0;
    virtual void scissor(int x, int y, int width, int height) = 0;
    virtual void scissorTest(bool on) = 0;
    virtual void lineWidth(float width) = 0;
};

class FixedGl {
public:
    // The GL state of a new context; current until it goes.
    explicit FixedGl(FixedGlBackend& backend);
    ~FixedGl();
    FixedGl(const FixedGl&) = delete;
    FixedGl& operator=(const FixedGl&) = delete;

    // The one the render code's GL calls go to; stops the program when there is none.
    static FixedGl& current();

    // Hands everything drawn so far to the backend: glFlush and glFinish,
    // and what a page does before the browser shows its canvas.
    void flush();

    void clear(unsigned mask);
    void clearColor(float red, float green, float blue, float alpha);
    void clearDepth(double depth);
    void viewport(int x, int y, int width, int height);
    void scissor(int x, int y, int width, int height);
    // GL_SCISSOR_TEST only: nothing else is ever enabled.
    void enable(unsigned capability);
    void disable(unsigned capability);
    void lineWidth(float width);

    void ortho(double left, double right, double bottom, double top, double near, double far);
    void pushMatrix();
    void popMatrix();
    void translatef(float x, float y, float z);
    void rotatef(float angle, float x, float y, float z);
    void scalef(float x, float y, float z);

    void color4f(float red, float green, float blue, float alpha);
    void color4fv(const float* rgba) { color4f(rgba[0], rgba[1], rgba[2], rgba[3]); }
    // Lines, line strips and loops, triangles, triangle strips and fans.
    void begin(unsigned mode);
    void end();
    void vertex3f(float x, float y, float z);
    void vertex2f(float x, float y) { vertex3f(x, y, 0.0f); }
    void vertex2fv(const float* xy) { vertex3f(xy[0], xy[1], 0.0f); }

    unsigned genLists(int range);
    // GL_COMPILE only. The list is defined at glEndList, as GL has it: deleting
    // it meanwhile deletes what it held before.
    void newList(unsigned list, unsigned mode);
    void endList();
    void callList(unsigned list);
    // GL_UNSIGNED_BYTE names, from the list base.
    void callLists(int count, unsigned type, const void* lists);
    void listBase(unsigned base);
    void deleteLists(unsigned list, int range);

    // GLU's quadrics: a disk in the silhouette style, its outer and inner edge,
    // from the same sines and cosines as GLU's.
    static GLUquadric* newQuadric();
    static void deleteQuadric(GLUquadric* quadric);
    static void quadricDrawStyle(GLUquadric* quadric, unsigned style);
    void disk(GLUquadric* quadric, double inner, double outer, int slices, int loops);

private:
    using Matrix = std::array<float, 16>;  // column by column, as GL keeps it
    using Colour = std::array<std::uint8_t, 4>;

    // A step of a list: its geometry (points[first, first + count) as lines or
    // triangles), or a call made while it compiled.
    struct ListStep {
        enum Kind : std::uint8_t { Geometry, SetColour, Translate, Rotate, Scale, Push, Pop, Call, CallFromBase };
        Kind kind;
        unsigned mode = 0;   // Geometry: GL_LINES or GL_TRIANGLES
        unsigned first = 0;  // Geometry; the list of a call
        unsigned count = 0;  // Geometry
        float v[4] = {};     // the call's arguments
    };
    struct List {
        std::vector<ListStep> steps;
        std::vector<FixedPoint> points;
    };
    // A call for the backend, kept in order until the flush.
    struct Command {
        enum Kind : std::uint8_t { Draw, Clear, ClearColour, ClearDepth, Viewport, Scissor, ScissorTest, LineWidth };
        Kind kind;
        int i[4] = {};     // Draw: mode, first, count; the others' integers
        double f[4] = {};  // and their real numbers
    };

    // Stops the program while a list compiles: `call` would not be in it.
    void notWhileCompiling(const char* call) const;
    void record(const ListStep& step) { compiled_.steps.push_back(step); }
    void multiply(const Matrix& by);
    void run(const List& list, const ListStep& step);
    // The points as lines or triangles, transformed, in the current colour.
    void draw(unsigned mode, std::span<const FixedPoint> points);
    // The last `count` vertices are drawn as `mode`: one draw with the ones before if it can.
    void drawn(unsigned mode, std::size_t count);
    // order_ = the primitive's points as independent lines or triangles; which of them.
    unsigned assemble();

    FixedGlBackend& backend_;
    FixedGl* previous_;             // current before this one
    std::vector<Matrix> matrices_;  // the model-view stack; the projection stays the identity
    Colour colour_{255, 255, 255, 255};

    bool between_ = false;  // glBegin was called, glEnd not yet
    unsigned mode_ = 0;     // glBegin's
    std::vector<FixedPoint> points_;
    std::vector<Colour> colours_;
    std::vector<std::uint32_t> order_;

    std::unordered_map<unsigned, List> lists_;
    unsigned nextList_ = 1;
    unsigned base_ = 0;
    unsigned compiling_ = 0;  // the list being compiled; 0: none
    List compiled_;           // what it holds so far
    int depth_ = 0;           // lists calling lists, as deep as GL lets them

    std::vector<FixedVertex> vertices_;  // since the last flush
    std::vector<Command> commands_;
};

}  // namespace drumhold
