// gl.h -- the OpenGL 1.x and GLU headers, in one place for the render module.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
