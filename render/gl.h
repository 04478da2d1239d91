// gl.h -- the OpenGL 1.x and GLU headers, in one place for the render module.
#pragma once

#ifdef _WIN32
// Windows' GL headers pull in windows.h: without its min and max macros, and
// without near and far, which it still defines for 16-bit pointers.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#undef near
#undef far
#endif

#include <GL/gl.h>
#include <GL/glu.h>

#ifdef _WIN32
// The names Mesa's headers give the callbacks' calling convention and type.
#define GLAPIENTRY APIENTRY
typedef void(CALLBACK* _GLUfuncptr)();
#endif

#if defined(__EMSCRIPTEN__) || defined(DRUMHOLD_FIXED_GL)
// The browser's GL has no fixed functions: the render code's calls go to ours
// (fixed_gl.h), and the build refuses any other GL call (render/CMakeLists.txt).
#include "render/fixed_gl.h"

#define glClear drumhold::FixedGl::current().clear
#define glClearColor drumhold::FixedGl::current().clearColor
#define glClearDepth drumhold::FixedGl::current().clearDepth
#define glViewport drumhold::FixedGl::current().viewport
#define glScissor drumhold::FixedGl::current().scissor
#define glEnable drumhold::FixedGl::current().enable
#define glDisable drumhold::FixedGl::current().disable
#define glLineWidth drumhold::FixedGl::current().lineWidth
#define glFlush drumhold::FixedGl::current().flush
#define glFinish drumhold::FixedGl::current().flush

#define glOrtho drumhold::FixedGl::current().ortho
#define glPushMatrix drumhold::FixedGl::current().pushMatrix
#define glPopMatrix drumhold::FixedGl::current().popMatrix
#define glTranslatef drumhold::FixedGl::current().translatef
#define glRotatef drumhold::FixedGl::current().rotatef
#define glScalef drumhold::FixedGl::current().scalef

#define glColor4f drumhold::FixedGl::current().color4f
#define glColor4fv drumhold::FixedGl::current().color4fv
#define glBegin drumhold::FixedGl::current().begin
#define glEnd drumhold::FixedGl::current().end
#define glVertex2f drumhold::FixedGl::current().vertex2f
#define glVertex2fv drumhold::FixedGl::current().vertex2fv
#define glVertex3f drumhold::FixedGl::current().vertex3f

#define glGenLists drumhold::FixedGl::current().genLists
#define glNewList drumhold::FixedGl::current().newList
#define glEndList drumhold::FixedGl::current().endList
#define glCallList drumhold::FixedGl::current().callList
#define glCallLists drumhold::FixedGl::current().callLists
#define glListBase drumhold::FixedGl::current().listBase
#define glDeleteLists drumhold::FixedGl::current().deleteLists

#define gluNewQuadric drumhold::FixedGl::newQuadric
#define gluDeleteQuadric drumhold::FixedGl::deleteQuadric
#define gluQuadricDrawStyle drumhold::FixedGl::quadricDrawStyle
#define gluDisk drumhold::FixedGl::current().disk
#endif
