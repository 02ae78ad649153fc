// Stand-in for the rectangle procedure the core fills procs.rect with; the
// rectangles replace it.
#pragma once

#include "core/gl_defs.h"

struct GlContext;

// Draws the rectangle as a polygon through the current dispatch table.
void __glRect(GlContext *gc, GLfloat x1, GLfloat y1, GLfloat x2, GLfloat y2);
