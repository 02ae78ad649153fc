// Stand-ins for the buffer locks the buffer picker installs. The frame-buffer
// locking of the rasterizer replaces them.
#pragma once

#include <stdint.h>

#include "core/s_standin.h"

struct GlContext;

// clang-format off
#define RASTER_LOCK_STANDINS(X)                                                  \
  /* Lock and unlock the drawable buffers named by the mask. */                  \
  X(void, __glLockBuffers, (GlContext *gc, uint32_t mask), )                     \
  X(void, __glUnlockBuffers, (GlContext *gc, uint32_t mask), )                   \
  /* The render locks: every buffer of the render-buffer mask, the one colour */ \
  /* buffer drawn, or that colour buffer and the depth buffer. */                \
  X(void, __glLockRenderBuffers, (GlContext *gc), )                              \
  X(void, __glUnlockRenderBuffers, (GlContext *gc), )                            \
  X(void, __glLockColorBuffer, (GlContext *gc), )                                \
  X(void, __glUnlockColorBuffer, (GlContext *gc), )                              \
  X(void, __glLockColorBufferDepthBuffer, (GlContext *gc), )                     \
  X(void, __glUnlockColorBufferDepthBuffer, (GlContext *gc), )
// clang-format on

RASTER_LOCK_STANDINS(GL_STANDIN_DECLARE)
