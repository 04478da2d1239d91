// gl_lists_web.cpp -- display lists recorded over emscripten's GL emulation:
// a list is the sequence of calls made while it was being compiled, replayed
// call for call, so a list draws exactly what the same calls would.
#define DRUMHOLD_GL_LISTS_IMPLEMENTATION
#include "render/gl_lists_web.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace drumhold::gl_lists {

namespace {

enum class Op : std::uint8_t { Begin, End, Vertex3, Color4, Translate, Rotate, Scale, Push, Pop, Call };

struct Call {
    Op op;
    GLenum mode;  // Begin; the list for Call
    GLfloat v[4];
};

std::unordered_map<GLuint, std::vector<Call>> lists;
GLuint nextName = 1;
GLuint base = 0;
std::vector<Call>* compiling = nullptr;  // the list being compiled, if any
int depth = 0;                           // nested calls, bounded as GL bounds them

// Records the call when a list is being compiled; true when it must not run now.
bool record(Op op, GLenum mode = 0, GLfloat a = 0, GLfloat b = 0, GLfloat c = 0, GLfloat d = 0) {
    if (!compiling) return false;
    compiling->push_back({op, mode, {a, b, c, d}});
    return true;
}

void run(const Call& call) {
    const GLfloat* v = call.v;
    switch (call.op) {
    case Op::Begin: glBegin(call.mode); break;
    case Op::End: glEnd(); break;
    case Op::Vertex3: glVertex3f(v[0], v[1], v[2]); break;
    case Op::Color4: glColor4f(v[0], v[1], v[2], v[3]); break;
    case Op::Translate: glTranslatef(v[0], v[1], v[2]); break;
    case Op::Rotate: glRotatef(v[0], v[1], v[2], v[3]); break;
    case Op::Scale: glScalef(v[0], v[1], v[2]); break;
    case Op::Push: glPushMatrix(); break;
    case Op::Pop: glPopMatrix(); break;
    case Op::Call: callList(call.mode); break;
    }
}

}  // namespace

GLuint genLists(GLsizei range) {
    if (range <= 0) return 0;
    const GLuint first = nextName;
    nextName += static_cast<GLuint>(range);
    for (GLsizei i = 0; i < range; ++i) lists[first + static_cast<GLuint>(i)];
    return first;
}

void newList(GLuint list, GLenum /*mode: GL_COMPILE is all the game uses*/) {
    if (list == 0 || compiling) return;
    compiling = &lists[list];
    compiling->clear();
}

namespace {

// Runs of line loops, strips and segments in a list become one batch of
// segments: the same segments, each drawn as GL draws a segment of a loop or
// a strip, in one draw call instead of one per loop (a tank's outline is a
// handful of loops).
void joinLines(std::vector<Call>& calls) {
    const auto isLines = [](GLenum mode) { return mode == GL_LINE_LOOP || mode == GL_LINE_STRIP || mode == GL_LINES; };
    std::vector<Call> joined;
    std::vector<Call> segments;  // the ends of the run's segments so far
    for (std::size_t i = 0; i < calls.size();) {
        std::size_t end = i + 1;
        if (calls[i].op == Op::Begin && isLines(calls[i].mode)) {
            while (end < calls.size() && calls[end].op == Op::Vertex3) ++end;
        }
        if (calls[i].op != Op::Begin || !isLines(calls[i].mode) || end >= calls.size() ||
            calls[end].op != Op::End) {
            if (!segments.empty()) {
                joined.push_back({Op::Begin, GL_LINES, {}});
                joined.insert(joined.end(), segments.begin(), segments.end());
                joined.push_back({Op::End, 0, {}});
                segments.clear();
            }
            joined.push_back(calls[i++]);
            continue;
        }
        const Call* first = &calls[i + 1];
        const std::size_t count = end - i - 1;
        if (calls[i].mode == GL_LINES) {
            segments.insert(segments.end(), first, first + count / 2 * 2);
        } else {
            for (std::size_t k = 0; k + 1 < count; ++k) segments.insert(segments.end(), {first[k], first[k + 1]});
            if (calls[i].mode == GL_LINE_LOOP && count > 1) segments.insert(segments.end(), {first[count - 1], first[0]});
        }
        i = end + 1;
    }
    if (!segments.empty()) {
        joined.push_back({Op::Begin, GL_LINES, {}});
        joined.insert(joined.end(), segments.begin(), segments.end());
        joined.push_back({Op::End, 0, {}});
    }
    calls.swap(joined);
}

}  // namespace

void endList() {
    if (compiling) joinLines(*compiling);
    compiling = nullptr;
}

void callList(GLuint list) {
    if (record(Op::Call, list)) return;
    const auto found = lists.find(list);
    if (found == lists.end() || depth >= 64) return;
    ++depth;
    for (const Call& call : found->second) run(call);
    --depth;
}

namespace {

// The list of a character: its triangles, if any, then the step to the next
// one. Null when `list` is anything else.
const std::vector<Call>* glyph(GLuint list, GLfloat& step) {
    const auto found = lists.find(list);
    if (found == lists.end() || found->second.empty()) return nullptr;
    const std::vector<Call>& calls = found->second;
    const Call& last = calls.back();
    if (last.op != Op::Translate || last.v[1] != 0.0f || last.v[2] != 0.0f) return nullptr;
    if (calls.size() > 1) {
        if (calls.size() < 3 || calls.front().op != Op::Begin || calls.front().mode != GL_TRIANGLES ||
            calls[calls.size() - 2].op != Op::End)
            return nullptr;
        for (std::size_t i = 1; i + 2 < calls.size(); ++i)
            if (calls[i].op != Op::Vertex3) return nullptr;
    }
    step = last.v[0];
    return &calls;
}

// A line of text drawn as one batch of triangles instead of one per character:
// each character's corners moved along by the steps before it, the same
// triangles in the same places. Every emulated glBegin..glEnd costs the page
// a draw call, and a frame of the attract screen draws a few hundred
// characters. The matrix ends where the characters' own steps leave it.
bool callGlyphs(GLsizei n, const GLuint* names) {
    std::vector<const std::vector<Call>*> glyphs(static_cast<std::size_t>(n));
    std::vector<GLfloat> steps(static_cast<std::size_t>(n));
    for (GLsizei i = 0; i < n; ++i)
        if (!(glyphs[i] = glyph(base + names[i], steps[i]))) return false;
    glBegin(GL_TRIANGLES);
    GLfloat along = 0.0f;
    for (GLsizei i = 0; i < n; ++i) {
        for (const Call& call : *glyphs[i])
            if (call.op == Op::Vertex3) glVertex3f(call.v[0] + along, call.v[1], call.v[2]);
        along += steps[i];
    }
    glEnd();
    for (GLsizei i = 0; i < n; ++i) glTranslatef(steps[i], 0.0f, 0.0f);
    return true;
}

}  // namespace

void callLists(GLsizei n, GLenum type, const GLvoid* names) {
    std::vector<GLuint> offsets;
    for (GLsizei i = 0; i < n; ++i) {
        if (type == GL_UNSIGNED_BYTE)
            offsets.push_back(static_cast<const GLubyte*>(names)[i]);
        else if (type == GL_UNSIGNED_INT)
            offsets.push_back(static_cast<const GLuint*>(names)[i]);
        else
            return;
    }
    if (!compiling && depth == 0 && n > 1 && callGlyphs(n, offsets.data())) return;
    for (const GLuint offset : offsets) callList(base + offset);
}

void listBase(GLuint first) { base = first; }

void deleteLists(GLuint list, GLsizei range) {
    for (GLsizei i = 0; i < range; ++i) lists.erase(list + static_cast<GLuint>(i));
}

void begin(GLenum mode) { if (!record(Op::Begin, mode)) glBegin(mode); }
void end() { if (!record(Op::End)) glEnd(); }
void vertex2f(GLfloat x, GLfloat y) { vertex3f(x, y, 0.0f); }
void vertex2fv(const GLfloat* v) { vertex3f(v[0], v[1], 0.0f); }
void vertex3f(GLfloat x, GLfloat y, GLfloat z) { if (!record(Op::Vertex3, 0, x, y, z)) glVertex3f(x, y, z); }
void color4fv(const GLfloat* v) { color4f(v[0], v[1], v[2], v[3]); }
void color4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { if (!record(Op::Color4, 0, r, g, b, a)) glColor4f(r, g, b, a); }
void translatef(GLfloat x, GLfloat y, GLfloat z) { if (!record(Op::Translate, 0, x, y, z)) glTranslatef(x, y, z); }
void rotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    if (!record(Op::Rotate, 0, angle, x, y, z)) glRotatef(angle, x, y, z);
}
void scalef(GLfloat x, GLfloat y, GLfloat z) { if (!record(Op::Scale, 0, x, y, z)) glScalef(x, y, z); }
void pushMatrix() { if (!record(Op::Push)) glPushMatrix(); }
void popMatrix() { if (!record(Op::Pop)) glPopMatrix(); }

}  // namespace drumhold::gl_lists

// GLU's quadrics, built for the browser with these names for their calls
// (cmake/web.cmake): a primitive is held until its end and dropped when it is
// lines of no length, which GL draws as nothing but which still cost the page
// a draw call each: a barrel's disk has its inner edge at radius 0.
namespace {

struct QuadricCall {
    char kind;  // 'v'ertex, 'n'ormal, 't'exture coordinate
    GLfloat v[3];
};
GLenum quadricMode = 0;
std::vector<QuadricCall> quadricCalls;

}  // namespace

extern "C" {

void drumhold_glu_begin(GLenum mode) {
    quadricMode = mode;
    quadricCalls.clear();
}

void drumhold_glu_vertex3f(GLfloat x, GLfloat y, GLfloat z) { quadricCalls.push_back({'v', {x, y, z}}); }
void drumhold_glu_normal3f(GLfloat x, GLfloat y, GLfloat z) { quadricCalls.push_back({'n', {x, y, z}}); }
void drumhold_glu_texcoord2f(GLfloat s, GLfloat t) { quadricCalls.push_back({'t', {s, t, 0.0f}}); }

void drumhold_glu_end() {
    const bool lines = quadricMode == GL_LINES || quadricMode == GL_LINE_STRIP || quadricMode == GL_LINE_LOOP;
    const QuadricCall* point = nullptr;
    bool nothing = lines;
    for (const QuadricCall& call : quadricCalls) {
        if (call.kind != 'v') continue;
        if (!point) point = &call;
        nothing = nothing && call.v[0] == point->v[0] && call.v[1] == point->v[1] && call.v[2] == point->v[2];
    }
    if (nothing) return;
    glBegin(quadricMode);
    for (const QuadricCall& call : quadricCalls) {
        if (call.kind == 'v') glVertex3f(call.v[0], call.v[1], call.v[2]);
        if (call.kind == 'n') glNormal3f(call.v[0], call.v[1], call.v[2]);
        if (call.kind == 't') glTexCoord2f(call.v[0], call.v[1]);
    }
    glEnd();
}

}  // extern "C"
