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

void endList() { compiling = nullptr; }

void callList(GLuint list) {
    if (record(Op::Call, list)) return;
    const auto found = lists.find(list);
    if (found == lists.end() || depth >= 64) return;
    ++depth;
    for (const Call& call : found->second) run(call);
    --depth;
}

void callLists(GLsizei n, GLenum type, const GLvoid* names) {
    for (GLsizei i = 0; i < n; ++i) {
        GLuint offset = 0;
        if (type == GL_UNSIGNED_BYTE)
            offset = static_cast<const GLubyte*>(names)[i];
        else if (type == GL_UNSIGNED_INT)
            offset = static_cast<const GLuint*>(names)[i];
        else
            return;
        callList(base + offset);
    }
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
