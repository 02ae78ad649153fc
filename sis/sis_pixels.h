// The SiS context's fast pixel paths: its draw-pixels picker, which tries
// direct kernels (16-bit RGB, 8-bit index, 16-bit depth) before the generic
// path, and its bitmap picker and renderers. Each kernel writes through the
// drawable's clip list into the locked buffer's memory.
#pragma once

#include "core/gl_defs.h"
#include "pixels/px_fast_draw.h"

struct GlContext;
struct GlBitmap;

// The generic pixel picker, then the SiS draw-pixels procedure.
void __glSiSPickPixelProcs(GlContext *gc);
// glDrawPixels on a SiS context: a kernel under the buffer lock, else the
// generic path with the same arguments.
void __glSiSPickDrawPixels(GlContext *gc, GLsizei width, GLsizei height, GLenum format, GLenum type,
                           const void *pixels, GLbool8 packed);
// The kernel for a draw of `format` and `type` in the current state, or none
// when the generic path must run.
GlDrawPixelsKernel __glSiSPickDrawPixelsKernel(GlContext *gc, GLenum format, GLenum type);

void __glSiSDrawPixels_FastRGB16(GlContext *gc, const GlPixelSpanInfo *info);
void __glSiSDrawPixels_FastRGB16_Dither(GlContext *gc, const GlPixelSpanInfo *info);
void __glSiSDrawPixels_FastRGBAubyte16(GlContext *gc, const GlPixelSpanInfo *info);
void __glSiSDrawPixels_FastRGBA16_Atest(GlContext *gc, const GlPixelSpanInfo *info);
void __glSiSDrawPixels_FastDepthUShort16(GlContext *gc, const GlPixelSpanInfo *info);
// No draw of an RGBA context reaches it; it serves 8-bit index buffers.
void __glSiSDrawPixels_FastCI8(GlContext *gc, const GlPixelSpanInfo *info);

// Sets the bitmap renderer: a fast one when nothing between the bitmap and
// the buffer can change a pixel, else the generic picker's.
void __glSiSPickRenderBitmapProcs(GlContext *gc);
void __glSiSRenderBitmap_FastRGB16(GlContext *gc, const GlBitmap *bitmap, const GLubyte *bits);
void __glSiSRenderBitmap_FastCI8(GlContext *gc, const GlBitmap *bitmap, const GLubyte *bits);
