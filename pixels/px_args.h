// The argument checks of glDrawPixels, glReadPixels and glGetTexImage.
#pragma once

#include "core/calling.h"
#include "core/gl_defs.h"

struct GlContext;

// True when the size, format and type may be drawn, or read, by this
// context; otherwise the first error met, in that order, is recorded.
GLbool8 __glCheckDrawPixelArgs(GlContext *gc, GLsizei width, GLsizei height, GLenum format,
                               GLenum type);
GLbool8 __glCheckReadPixelArgs(GlContext *gc, GLsizei width, GLsizei height, GLenum format,
                               GLenum type);
// True when a texture level may be read back in this format and type (the
// colour formats; no bitmaps); otherwise the error is recorded, the
// format's first.
GLbool8 __glCheckGetTexImageArgs(GlContext *gc, GLenum format, GLenum type);
