// Stand-in for the bitmap procedure the core fills the procedure table
// with; the bitmap path replaces it.
#pragma once

#include "core/gl_defs.h"
#include "core/s_standin.h"

struct GlContext;

// clang-format off
#define PIXELS_BITMAP_STANDINS(X)                                                               \
  /* Packs the client's bitmap with the unpack modes and hands it to the */                     \
  /* bitmap renderer. */                                                                        \
  X(void, __glDrawBitmap,                                                                       \
    (GlContext *gc, GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove, \
     GLfloat ymove, const GLubyte *bitmap), )
// clang-format on

PIXELS_BITMAP_STANDINS(GL_STANDIN_DECLARE)
