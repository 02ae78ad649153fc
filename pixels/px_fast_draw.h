// glDrawPixels without the span stages: for unsigned-byte images drawn with
// unit zoom and no transfer or fragment work, a kernel converts the source
// straight into a 16-bit RGB or an 8-bit colour-index draw buffer.
#pragma once

#include <stdint.h>

#include "core/drawable.h"
#include "core/gl_defs.h"
#include "pixels/px_span.h"

// A kernel draws the record as __glClipDrawPixels and __glInitUnpacker
// left it, with the buffers locked.
typedef void (*GlDrawPixelsKernel)(GlContext *gc, const GlPixelSpanInfo *info);

void __glDrawPixels_FastCI8(GlContext *gc, const GlPixelSpanInfo *info);
void __glDrawPixels_FastRGB16(GlContext *gc, const GlPixelSpanInfo *info);
void __glDrawPixels_FastRGB16_Dither(GlContext *gc, const GlPixelSpanInfo *info);
void __glDrawPixels_FastRGBAubyte16(GlContext *gc, const GlPixelSpanInfo *info);
void __glDrawPixels_FastRGBA16_Atest(GlContext *gc, const GlPixelSpanInfo *info);

// The kernel for a draw of `format` and `type` in the current state, or none
// when the generic path must run.
GlDrawPixelsKernel __glPickDrawPixelsKernel(const GlContext *gc, GLenum format, GLenum type);

// A device's choice of kernel for a draw, or none for the generic path.
typedef GlDrawPixelsKernel (*GlDrawPixelsPicker)(GlContext *gc, GLenum format, GLenum type);
// glDrawPixels inside one lock of the buffers the draw needs: the picker's
// kernel on the prepared and clipped record, else the generic path with the
// same arguments.
void __glDrawPixelsPicked(GlContext *gc, GlDrawPixelsPicker pick, GLsizei width, GLsizei height,
                          GLenum format, GLenum type, const void *pixels, GLbool8 packed);

// The part of a draw inside one window rectangle (ends exclusive): source
// rows and columns to skip, how many to draw, and the first destination
// pixel. False when nothing of the draw lies inside.
typedef struct GlFastDrawPart {
  int32_t skipRows, skipColumns;
  int32_t rows, columns;
  int32_t x, y;
} GlFastDrawPart;
bool __glClipFastDraw(const GlPixelSpanInfo *info, const GlRect &window, GlFastDrawPart *part);
