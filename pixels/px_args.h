// The argument checks of glDrawPixels, glReadPixels, glGetTexImage and the
// format and type of texture images.
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
// The error a texture image's type and format raise, the type's first
// (GL_NO_ERROR when both pass): no depth or stencil images, bitmaps of
// colour indices only, packed types with the formats of their component
// count.
GLenum __glTexImageFormatError(GLenum format, GLenum type);
