// Stand-in for the bitmap procedure the core fills the procedure table
// with; the bitmap path replaces it.
#pragma once

#include "core/gl_defs.h"

struct GlContext;

// Packs the client's bitmap with the unpack modes and hands it to the
// bitmap renderer.
void __glDrawBitmap(GlContext *gc, GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig,
                    GLfloat xmove, GLfloat ymove, const GLubyte *bitmap);
