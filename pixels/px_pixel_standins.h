// Stand-ins for the bitmap procedures the pickers install, until the
// bitmap path renders bitmaps.
#pragma once

#include "core/calling.h"
#include "core/gl_defs.h"
#include "core/s_standin.h"

struct GlContext;
struct GlColorBuffer;
struct GlFragment;
struct GlBitmap;

// clang-format off
#define PIXELS_PIXEL_STANDINS(X)                                                                 \
  /* The core's bitmap-renderer picker and the generic bitmap renderer. */                       \
  X(void, __glOptPickRenderBitmapProcs, (GlContext *gc), )                                       \
  X(void, __glRenderBitmap, (GlContext *gc, const GlBitmap *bitmap, const GLubyte *bits), )
// clang-format on

PIXELS_PIXEL_STANDINS(GL_STANDIN_DECLARE)
