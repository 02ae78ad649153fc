// Stand-ins for the colour-table procedures the core fills the procedure
// table with, until the colour tables replace them.
#pragma once

#include "core/calling.h"
#include "core/gl_defs.h"
#include "core/s_standin.h"

struct GlContext;
struct GlPixelSpanInfo;
struct GlTextureObject;

// clang-format off
#define PIXELS_IMAGE_STANDINS(X)                                                                   \
  /* The colour table of a texture target: all of it, or a run of entries. */                      \
  X(void, __glColorTableEXT,                                                                       \
    (GlContext *gc, GLenum target, GLenum internalFormat, GLsizei width, GLenum format,            \
     GLenum type, const void *table, GLbool8 packed), )                                            \
  X(void, __glColorSubTableEXT,                                                                    \
    (GlContext *gc, GLenum target, GLsizei start, GLsizei count, GLenum format, GLenum type,       \
     const void *entries, GLbool8 packed), )
// clang-format on

PIXELS_IMAGE_STANDINS(GL_STANDIN_DECLARE)
