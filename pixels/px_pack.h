// Client images copied out of application memory into packed form (rows
// and images back to back with no padding, elements in native order,
// bitmaps most significant bit first), their sizes, the bitmap copy back
// into a client layout, and the polygon stipple turned into the
// rasterizer's words.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"
#include "pixels/px_state.h"

struct GlContext;

// Bytes of a packed width x height image: for GL_BITMAP, elements per group
// x ((width + 7) / 8) x height; otherwise elements per group x element
// size x width x height. In 64 bits, never wrapping: a product beyond
// INT64_MAX gives INT64_MAX, and a negative size 0.
int64_t __glImageSize(GLsizei width, GLsizei height, GLenum format, GLenum type);
// __glImageSize x depth.
int64_t __glImageSize3D(GLsizei width, GLsizei height, GLsizei depth, GLenum format, GLenum type);
// What a caller that allocates a packed image checks first: a size that
// does not fit a signed 32-bit byte count records GL_OUT_OF_MEMORY and
// gives false; the caller then does nothing else.
GLbool8 __glImageSizeFits(int64_t bytes);

// Packs a width x height x depth image read with `modes` into `dest`
// (__glImageSize3D bytes; a bitmap is one image whatever the depth). A
// client image whose rows or start would lie 2^31 bytes or more from
// `pixels` records GL_INVALID_VALUE, leaves `dest` alone and gives false.
GLbool8 __glFillImageWithModes(const GlPixelStoreModes *modes, GLsizei width, GLsizei height,
                               GLsizei depth, GLenum format, GLenum type, const void *pixels,
                               GLubyte *dest);
// The same with the context's unpack modes.
GLbool8 __glFillImage3D(GlContext *gc, GLsizei width, GLsizei height, GLsizei depth,
                        GLenum format, GLenum type, const void *pixels, GLubyte *dest);
// __glFillImage3D of one image.
GLbool8 __glFillImage(GlContext *gc, GLsizei width, GLsizei height, GLenum format, GLenum type,
                      const void *pixels, GLubyte *dest);

// A packed one-bit-per-pixel bitmap (rows of (width + 7) / 8 bytes, most
// significant bit first) written with `modes`; the bits of `dest` outside
// the image keep their values.
void __glPackBitmap(const GlPixelStoreModes *modes, GLsizei width, GLsizei height,
                    const GLubyte *src, GLubyte *dest);
// The stored stipple (32 rows of 4 bytes) into gc->polygon.stipple, one word
// per row, the row's first byte most significant.
void __glConvertStipple(GlContext *gc);
