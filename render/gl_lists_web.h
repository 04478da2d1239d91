// gl_lists_web.h -- display lists for the browser build. emscripten's GL
// emulation draws immediate mode but keeps no lists, so the render code's list
// calls, and the drawing calls it puts in lists, come here (by these names)
// and are recorded and replayed; outside a list they go straight through.
// Included by render/gl.h in the browser build only.
#pragma once

#include <GL/gl.h>

namespace drumhold::gl_lists {

GLuint genLists(GLsizei range);
void newList(GLuint list, GLenum mode);
void endList();
void callList(GLuint list);
void callLists(GLsizei n, GLenum type, const GLvoid* lists);
void listBase(GLuint base);
void deleteLists(GLuint list, GLsizei range);

void begin(GLenum mode);
void end();
void vertex2f(GLfloat x, GLfloat y);
void vertex2fv(const GLfloat* v);
void vertex3f(GLfloat x, GLfloat y, GLfloat z);
void color4fv(const GLfloat* v);
void color4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void translatef(GLfloat x, GLfloat y, GLfloat z);
void rotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void scalef(GLfloat x, GLfloat y, GLfloat z);
void pushMatrix();
void popMatrix();

}  // namespace drumhold::gl_lists

#ifndef DRUMHOLD_GL_LISTS_IMPLEMENTATION
#define glGenLists drumhold::gl_lists::genLists
#define glNewList drumhold::gl_lists::newList
#define glEndList drumhold::gl_lists::endList
#define glCallList drumhold::gl_lists::callList
#define glCallLists drumhold::gl_lists::callLists
#define glListBase drumhold::gl_lists::listBase
#define glDeleteLists drumhold::gl_lists::deleteLists
#define glBegin drumhold::gl_lists::begin
#define glEnd drumhold::gl_lists::end
#define glVertex2f drumhold::gl_lists::vertex2f
#define glVertex2fv drumhold::gl_lists::vertex2fv
#define glVertex3f drumhold::gl_lists::vertex3f
#define glColor4fv drumhold::gl_lists::color4fv
#define glColor4f drumhold::gl_lists::color4f
#define glTranslatef drumhold::gl_lists::translatef
#define glRotatef drumhold::gl_lists::rotatef
#define glScalef drumhold::gl_lists::scalef
#define glPushMatrix drumhold::gl_lists::pushMatrix
#define glPopMatrix drumhold::gl_lists::popMatrix
#endif
