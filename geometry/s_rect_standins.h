// Stand-in for the rectangle procedure the core fills procs.rect with; the
// rectangles replace it.
#pragma once

#include "core/gl_defs.h"
#include "core/s_standin.h"

struct GlContext;

// clang-format off
#define GEOMETRY_RECT_STANDINS(X)                                                      \
  /* Draws the rectangle as a polygon through the current dispatch table. */           \
  X(void, __glRect, (GlContext *gc, GLfloat x1, GLfloat y1, GLfloat x2, GLfloat y2), )
// clang-format on

GEOMETRY_RECT_STANDINS(GL_STANDIN_DECLARE)
