// Stand-ins for the image pickers and colour-table procedures the core
// fills the procedure table with, and for the span-record set-up the image
// queries call. The pixel paths and colour tables replace them.
#pragma once

#include "core/calling.h"
#include "core/gl_defs.h"
#include "core/s_standin.h"

struct GlContext;
struct GlPixelSpanInfo;
struct GlTextureObject;

// clang-format off
#define PIXELS_IMAGE_STANDINS(X)                                                                   \
  /* Each picks a span chain for the image move `info` describes and runs it. */                   \
  /* (__glGenericPickCopyImage, which moves bitmaps so far, is in px_copy_image.h.) */             \
  X(void, __glGenericPickStoreTexture,                                                             \
    (GlContext *gc, GlTextureObject *tex, GlPixelSpanInfo *info, GLbool8 applyModify), )           \
  X(void, __glGenericPickGetTexture,                                                               \
    (GlContext *gc, GlTextureObject *tex, GlPixelSpanInfo *info, GLbool8 applyModify), )           \
  X(void, __glGenericPickReadImage,                                                                \
    (GlContext *gc, GlTextureObject *tex, GlPixelSpanInfo *info), )                                \
  /* The colour table of a texture target: all of it, or a run of entries. */                      \
  X(void, __glColorTableEXT,                                                                       \
    (GlContext *gc, GLenum target, GLenum internalFormat, GLsizei width, GLenum format,            \
     GLenum type, const void *table, GLbool8 packed), )                                            \
  X(void, __glColorSubTableEXT,                                                                    \
    (GlContext *gc, GLenum target, GLsizei start, GLsizei count, GLenum format, GLenum type,       \
     const void *entries, GLbool8 packed), )
// clang-format on

PIXELS_IMAGE_STANDINS(GL_STANDIN_DECLARE)
