// The procs.rect procedure behind the glRect entries: the rectangle as a
// GL_POLYGON issued through the dispatch in force.
#pragma once

#include "core/gl_defs.h"

struct GlContext;

void __glRect(GlContext *gc, GLfloat x1, GLfloat y1, GLfloat x2, GLfloat y2);
