// glBitmap: the record of one bitmap, the procedure that packs the
// client's bits for the renderer, the generic renderer and the fast
// renderers the picker puts in its place for 16-bit RGB and 8-bit index
// buffers.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/gl_defs.h"

struct GlContext;

// One bitmap as its renderer reads it. Display lists keep glBitmap's
// arguments in this layout and hand the record over as it is.
typedef struct GlBitmap {
  int32_t width, height;
  GLfloat xorig, yorig;
  GLfloat xmove, ymove;
} GlBitmap;

static_assert(sizeof(GlBitmap) == 24, "six words");
static_assert(offsetof(GlBitmap, height) == 4 && offsetof(GlBitmap, xorig) == 8 &&
                  offsetof(GlBitmap, yorig) == 12 && offsetof(GlBitmap, xmove) == 16 &&
                  offsetof(GlBitmap, ymove) == 20,
              "the display-list op's order");

// The bitmap procedure: packs the client's bits with the unpack modes into
// a temporary (rows of (width + 7) / 8 bytes, bottom row first, most
// significant bit leftmost) and runs the context's renderer on it.
void __glDrawBitmap(GlContext *gc, GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig,
                    GLfloat xmove, GLfloat ymove, const GLubyte *bitmap);

// Renderers: (gc, bitmap, packed bits or none). No bits draws nothing but
// still moves the raster position.
void __glRenderBitmap(GlContext *gc, const GlBitmap *bitmap, const GLubyte *bits);
void __glRenderBitmap_FastRGB16(GlContext *gc, const GlBitmap *bitmap, const GLubyte *bits);
void __glRenderBitmap_FastCI8(GlContext *gc, const GlBitmap *bitmap, const GLubyte *bits);

// Puts a fast renderer in procs.renderBitmap when nothing between the bitmap
// and the buffer can change a pixel, else the generic one.
void __glOptPickRenderBitmapProcs(GlContext *gc);
