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

#ifdef __EMSCRIPTEN__
// The browser's GL keeps no display lists: ours (gl_lists_web.h) stand in.
#include "render/gl_lists_web.h"
#endif
