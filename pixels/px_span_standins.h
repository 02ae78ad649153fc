// Stand-ins for the pixel-span readers and renderers the core fills the
// procedure table's sixteen span slots with: readers (gc, info, out) read
// one span of a pixel rectangle from a buffer, renderers (gc, info, in)
// write one. The pixel paths replace them.
#pragma once

#include "core/s_standin.h"

struct GlContext;
struct GlPixelSpanInfo;

// clang-format off
#define PIXELS_SPAN_STANDINS(X)                                                         \
  X(void, __glSpanReadCI, (GlContext *gc, GlPixelSpanInfo *info, void *span), )         \
  X(void, __glSpanReadCI2, (GlContext *gc, GlPixelSpanInfo *info, void *span), )        \
  X(void, __glSpanReadRGBA, (GlContext *gc, GlPixelSpanInfo *info, void *span), )       \
  X(void, __glSpanReadRGBA2, (GlContext *gc, GlPixelSpanInfo *info, void *span), )      \
  X(void, __glSpanReadDepth, (GlContext *gc, GlPixelSpanInfo *info, void *span), )      \
  X(void, __glSpanReadDepth2, (GlContext *gc, GlPixelSpanInfo *info, void *span), )     \
  X(void, __glSpanReadStencil, (GlContext *gc, GlPixelSpanInfo *info, void *span), )    \
  X(void, __glSpanReadStencil2, (GlContext *gc, GlPixelSpanInfo *info, void *span), )   \
  X(void, __glSpanRenderCI, (GlContext *gc, GlPixelSpanInfo *info, void *span), )       \
  X(void, __glSpanRenderCI2, (GlContext *gc, GlPixelSpanInfo *info, void *span), )      \
  X(void, __glSpanRenderRGBA, (GlContext *gc, GlPixelSpanInfo *info, void *span), )     \
  X(void, __glSpanRenderRGBA2, (GlContext *gc, GlPixelSpanInfo *info, void *span), )    \
  X(void, __glSpanRenderDepth, (GlContext *gc, GlPixelSpanInfo *info, void *span), )    \
  X(void, __glSpanRenderDepth2, (GlContext *gc, GlPixelSpanInfo *info, void *span), )   \
  X(void, __glSpanRenderStencil, (GlContext *gc, GlPixelSpanInfo *info, void *span), )  \
  X(void, __glSpanRenderStencil2, (GlContext *gc, GlPixelSpanInfo *info, void *span), )
// clang-format on

PIXELS_SPAN_STANDINS(GL_STANDIN_DECLARE)
