// The SiS context's bitmap picker and renderers. The renderers pack the
// raster colour as the core's fast renderers do, so both give the same
// pixels; the picker refuses what the core's refuses (fragment work,
// dithering, the front buffer, no buffer drawn).
#include "core/context.h"
#include "pixels/px_bitmap.h"
#include "sis/sis_pixels.h"

void __glSiSRenderBitmap_FastRGB16(GlContext *gc, const GlBitmap *bitmap, const GLubyte *bits) {
  __glRenderBitmap_FastRGB16(gc, bitmap, bits);
}

void __glSiSRenderBitmap_FastCI8(GlContext *gc, const GlBitmap *bitmap, const GLubyte *bits) {
  __glRenderBitmap_FastCI8(gc, bitmap, bits);
}

void __glSiSPickRenderBitmapProcs(GlContext *gc) {
  // The core's picker leaves its fast renderer or the generic one.
  __glOptPickRenderBitmapProcs(gc);
  GlProcs &p = gc->procs;
  if (p.renderBitmap == __glRenderBitmap_FastRGB16)
    p.renderBitmap = __glSiSRenderBitmap_FastRGB16;
  else if (p.renderBitmap == __glRenderBitmap_FastCI8)
    p.renderBitmap = __glSiSRenderBitmap_FastCI8;
}
