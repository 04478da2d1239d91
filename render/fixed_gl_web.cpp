// fixed_gl_web.cpp -- FixedGl's frames drawn with WebGL (emscripten's GL ES 2).
#include "render/fixed_gl_web.h"

#include <GLES2/gl2.h>

#include <cstddef>
#include <cstdio>

namespace drumhold {

namespace {

// The vertices come transformed, each with its colour: nothing left to do.
constexpr char kVertexShader[] = R"(
attribute vec3 position;
attribute vec4 colour;
varying vec4 shade;
void main() {
    shade = colour;
    gl_Position = vec4(position, 1.0);
})";

constexpr char kFragmentShader[] = R"(
precision mediump float;
varying vec4 shade;
void main() {
    gl_FragColor = shade;
})";

enum Attribute : GLuint { kPosition, kColour };

GLuint compile(GLenum kind, const char* source) {
    const GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled) return shader;
    char log[512] = "";
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    std::fprintf(stderr, "drumhold: WebGL does not compile the shader: %s\n", log);
    glDeleteShader(shader);
    return 0;
}

// The program, or 0 (and why on standard error).
GLuint makeProgram() {
    const GLuint vertex = compile(GL_VERTEX_SHADER, kVertexShader);
    const GLuint fragment = compile(GL_FRAGMENT_SHADER, kFragmentShader);
    GLuint program = 0;
    if (vertex && fragment) {
        program = glCreateProgram();
        glAttachShader(program, vertex);
        glAttachShader(program, fragment);
        glBindAttribLocation(program, kPosition, "position");
        glBindAttribLocation(program, kColour, "colour");
        glLinkProgram(program);
        GLint linked = GL_FALSE;
        glGetProgramiv(program, GL_LINK_STATUS, &linked);
        if (!linked) {
            char log[512] = "";
            glGetProgramInfoLog(program, sizeof log, nullptr, log);
            std::fprintf(stderr, "drumhold: WebGL does not link the program: %s\n", log);
            glDeleteProgram(program);
            program = 0;
        }
    }
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    return program;
}

}  // namespace

WebGlContext::WebGlContext() = default;

// Nothing else draws on this context, so the program, the buffer and where
// the attributes lie in it are set once.
WebGlContext::Backend::Backend() : program_(makeProgram()) {
    if (!program_) return;
    glUseProgram(program_);
    glGenBuffers(1, &buffer_);
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    glVertexAttribPointer(kPosition, 3, GL_FLOAT, GL_FALSE, sizeof(FixedVertex),
                          reinterpret_cast<const void*>(offsetof(FixedVertex, at)));
    glVertexAttribPointer(kColour, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(FixedVertex),
                          reinterpret_cast<const void*>(offsetof(FixedVertex, colour)));
    glEnableVertexAttribArray(kPosition);
    glEnableVertexAttribArray(kColour);
}

WebGlContext::Backend::~Backend() {
    if (buffer_) glDeleteBuffers(1, &buffer_);
    if (program_) glDeleteProgram(program_);
}

void WebGlContext::Backend::upload(std::span<const FixedVertex> vertices) {
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size_bytes()), vertices.data(), GL_STREAM_DRAW);
}

void WebGlContext::Backend::draw(unsigned mode, int first, int count) { glDrawArrays(mode, first, count); }
void WebGlContext::Backend::clear(unsigned mask) { glClear(mask); }
void WebGlContext::Backend::clearColor(float red, float green, float blue, float alpha) {
    glClearColor(red, green, blue, alpha);
}
void WebGlContext::Backend::clearDepth(double depth) { glClearDepthf(static_cast<GLfloat>(depth)); }
void WebGlContext::Backend::viewport(int x, int y, int width, int height) { glViewport(x, y, width, height); }
void WebGlContext::Backend::scissor(int x, int y, int width, int height) { glScissor(x, y, width, height); }
void WebGlContext::Backend::scissorTest(bool on) { on ? glEnable(GL_SCISSOR_TEST) : glDisable(GL_SCISSOR_TEST); }
void WebGlContext::Backend::lineWidth(float width) { glLineWidth(width); }

}  // namespace drumhold
