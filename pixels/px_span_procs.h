// The span engine: the chain picker, the run array, the row loops that run a
// chain over a rectangle, and the span readers and renderers at the ends of
// the chains that touch the frame buffer.
#pragma once

#include "pixels/px_span.h"

// Appends the stages of info's transfer after the numSpanMods already there
// and returns the reader and renderer in the request.
void PickSpanModifiers(GlContext *gc, GlPixelSpanInfo *info, GlSpanPickRequest *request);

// Fills info->pixelArray for info->zoomx (nothing at zoom 1 or -1) and sets
// info->spanWidth: one entry per sampled source pixel when the zoom shrinks,
// else one per source pixel.
void __glComputeSpanPixelArray(GlContext *gc, GlPixelSpanInfo *info);

// The span storage of one call: two span buffers and a run array on the
// stack for rows of up to __GL_MAX_SPAN_WIDTH pixels, else one block
// allocated for the row before the buffers are locked.
typedef struct GlSpanStorage {
  void *block;  // the allocated block, or null
  void *a, *b;
  int16_t *pixelArray;
  // Overlapping copies only: the third span buffer and each source row's
  // draw position (height + 1 entries).
  void *c;
  GLfloat *rowY;
} GlSpanStorage;

#define __GL_SPAN_BUFFER_BYTES (__GL_MAX_SPAN_WIDTH * 4 * 4)

// Rows of more than __GL_MAX_SPAN_WIDTH pixels get `storage`, allocated for
// rows of `pixels` pixels and hung on info->spanStorage, where the loops
// find it; narrower rows keep the loops' stack. False, with
// GL_OUT_OF_MEMORY recorded, when the block cannot be had.
GLbool8 __glReserveSpanStorage(GlContext *gc, GlPixelSpanInfo *info, GlSpanStorage *storage,
                               int32_t pixels);
// One block of `buffers` (2 or 3) span buffers of at least `pixels` pixels,
// the run array and `rows` draw positions, whatever the width.
GLbool8 __glAllocSpanStorage(GlContext *gc, GlPixelSpanInfo *info, GlSpanStorage *storage,
                             int32_t pixels, int32_t buffers, int32_t rows);
void __glReleaseSpanStorage(GlContext *gc, GlPixelSpanInfo *info);

// The row loops: each runs info's chain over the whole rectangle.
typedef void (*GlSpanLoop)(GlContext *gc, GlPixelSpanInfo *info);
// Runs the loop of the chain's stage count: none, one, two, or more.
inline void __glRunSpanLoop(GlContext *gc, GlPixelSpanInfo *info, const GlSpanLoop (&loops)[4]) {
  const int32_t n = info->numSpanMods;
  loops[n < 3 ? n : 3](gc, info);
}
// Runs pick(gc, info) with the buffers of `mask` locked, then gives back
// the span storage the path reserved.
void __glRunLocked(GlContext *gc, GlPixelSpanInfo *info, uint32_t mask, GlSpanLoop pick);
void __glDrawPixels0(GlContext *gc, GlPixelSpanInfo *info);
void __glDrawPixels1(GlContext *gc, GlPixelSpanInfo *info);
void __glDrawPixels2(GlContext *gc, GlPixelSpanInfo *info);
void __glDrawPixelSpans(GlContext *gc, GlPixelSpanInfo *info);
void __glReadPixels0(GlContext *gc, GlPixelSpanInfo *info);
void __glReadPixels1(GlContext *gc, GlPixelSpanInfo *info);
void __glReadPixels2(GlContext *gc, GlPixelSpanInfo *info);
void __glReadPixelSpans(GlContext *gc, GlPixelSpanInfo *info);
void __glCopyPixels0(GlContext *gc, GlPixelSpanInfo *info);
void __glCopyPixels1(GlContext *gc, GlPixelSpanInfo *info);
void __glCopyPixels2(GlContext *gc, GlPixelSpanInfo *info);
void __glCopyPixelSpans(GlContext *gc, GlPixelSpanInfo *info);
void __glCopyImage1(GlContext *gc, GlPixelSpanInfo *info);
void __glCopyImage2(GlContext *gc, GlPixelSpanInfo *info);
void __glCopyImageSpans(GlContext *gc, GlPixelSpanInfo *info);

#define __GL_SPAN_PROC(name) void name(GlContext *gc, GlPixelSpanInfo *info, void *span)

// Readers: spanWidth pixels of the read colour buffer, the depth or the
// stencil buffer from column trunc(readX), row trunc(readY); the forms
// ending in 2 step one column, the others by the run array.
__GL_SPAN_PROC(__glSpanReadCI);
__GL_SPAN_PROC(__glSpanReadCI2);
__GL_SPAN_PROC(__glSpanReadRGBA);
__GL_SPAN_PROC(__glSpanReadRGBA2);
__GL_SPAN_PROC(__glSpanReadDepth);
__GL_SPAN_PROC(__glSpanReadDepth2);
__GL_SPAN_PROC(__glSpanReadDepthUint);
__GL_SPAN_PROC(__glSpanReadDepthUint2);
__GL_SPAN_PROC(__glSpanReadStencil);
__GL_SPAN_PROC(__glSpanReadStencil2);

// Renderers: one source row into fragments for the pixel store (stencil
// straight into the stencil buffer), over the destination rows the row
// covers; the 1:1 forms (ending in 2, and CIubyte4) one column a pixel,
// the others as many as the run array says.
__GL_SPAN_PROC(__glSpanRenderCI);
__GL_SPAN_PROC(__glSpanRenderCI2);
__GL_SPAN_PROC(__glSpanRenderRGBA);
__GL_SPAN_PROC(__glSpanRenderRGBA2);
__GL_SPAN_PROC(__glSpanRenderDepth);
__GL_SPAN_PROC(__glSpanRenderDepth2);
__GL_SPAN_PROC(__glSpanRenderDepthUint);
__GL_SPAN_PROC(__glSpanRenderDepthUint2);
__GL_SPAN_PROC(__glSpanRenderStencil);
__GL_SPAN_PROC(__glSpanRenderStencil2);
__GL_SPAN_PROC(__glSpanRenderStencilUbyte);
__GL_SPAN_PROC(__glSpanRenderStencilUbyte2);
__GL_SPAN_PROC(__glSpanRenderStencilUshort);
__GL_SPAN_PROC(__glSpanRenderStencilUshort2);
__GL_SPAN_PROC(__glSpanRenderCIuint);
__GL_SPAN_PROC(__glSpanRenderCIuint2);
__GL_SPAN_PROC(__glSpanRenderCIushort);
__GL_SPAN_PROC(__glSpanRenderCIushort2);
__GL_SPAN_PROC(__glSpanRenderCIubyte);
__GL_SPAN_PROC(__glSpanRenderCIubyte2);
__GL_SPAN_PROC(__glSpanRenderCIubyte3);
__GL_SPAN_PROC(__glSpanRenderCIubyte4);
__GL_SPAN_PROC(__glSpanRenderRGBubyte);
__GL_SPAN_PROC(__glSpanRenderRGBubyte2);
__GL_SPAN_PROC(__glSpanRenderRGBAubyte);
__GL_SPAN_PROC(__glSpanRenderRGBAubyte2);

// The raster colour in the draw buffer's units (index as stored): what
// depth-drawn pixels and bitmaps take.
GlColor __glRasterColor(const GlContext *gc);
