// Client images copied out of application memory into packed form (rows
// back to back, bitmaps most significant bit first) and back, and the
// polygon stipple turned into the rasterizer's words. So far only the
// bitmaps the polygon stipple needs are moved; the other formats arrive
// with the pixel paths.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"
#include "pixels/px_state.h"

struct GlContext;

// Packs a width x height image read with the context's unpack modes into
// `dest`. GL_BITMAP images of one element per group (GL_COLOR_INDEX,
// GL_STENCIL_INDEX) only; any other leaves `dest` alone.
void __glFillImage(GlContext *gc, GLsizei width, GLsizei height, GLenum format, GLenum type,
                   const void *pixels, GLubyte *dest);
// A bitmap of `components` bits per pixel read with `modes` (byte swapping
// means nothing to bitmaps): each packed row takes (width x components + 7)
// / 8 bytes, the bits beyond the row's end 0.
void __glUnpackBitmap(const GlPixelStoreModes *modes, GLsizei width, GLsizei height,
                      GLint components, const GLubyte *src, GLubyte *dest);
// The twin of __glUnpackBitmap: a packed one-bit-per-pixel bitmap (rows of
// (width + 7) / 8 bytes, most significant bit first) written with `modes`;
// the bits of `dest` outside the image keep their values.
void __glPackBitmap(const GlPixelStoreModes *modes, GLsizei width, GLsizei height,
                    const GLubyte *src, GLubyte *dest);
// The stored stipple (32 rows of 4 bytes) into gc->polygon.stipple, one word
// per row, the row's first byte most significant.
void __glConvertStipple(GlContext *gc);
