// Stand-ins for the single-pixel depth tests (context, address, depth): each
// tests one pixel of a 16- or 32-bit depth buffer and stores when it passes
// and writes are on; the _M forms never store. The depth buffer's own
// procedures replace them.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/s_standin.h"

struct GlContext;

// clang-format off
#define RASTER_DEPTH_STANDINS(X)                                                 \
  X(GLbool8, __glDT_NEVER16, (GlContext *gc, void *address, uint32_t z), 0)      \
  X(GLbool8, __glDT_LESS16, (GlContext *gc, void *address, uint32_t z), 0)       \
  X(GLbool8, __glDT_EQUAL16, (GlContext *gc, void *address, uint32_t z), 0)      \
  X(GLbool8, __glDT_LEQUAL16, (GlContext *gc, void *address, uint32_t z), 0)     \
  X(GLbool8, __glDT_GREATER16, (GlContext *gc, void *address, uint32_t z), 0)    \
  X(GLbool8, __glDT_NOTEQUAL16, (GlContext *gc, void *address, uint32_t z), 0)   \
  X(GLbool8, __glDT_GEQUAL16, (GlContext *gc, void *address, uint32_t z), 0)     \
  X(GLbool8, __glDT_ALWAYS16, (GlContext *gc, void *address, uint32_t z), 0)     \
  X(GLbool8, __glDT_LESS16_M, (GlContext *gc, void *address, uint32_t z), 0)     \
  X(GLbool8, __glDT_EQUAL16_M, (GlContext *gc, void *address, uint32_t z), 0)    \
  X(GLbool8, __glDT_LEQUAL16_M, (GlContext *gc, void *address, uint32_t z), 0)   \
  X(GLbool8, __glDT_GREATER16_M, (GlContext *gc, void *address, uint32_t z), 0)  \
  X(GLbool8, __glDT_NOTEQUAL16_M, (GlContext *gc, void *address, uint32_t z), 0) \
  X(GLbool8, __glDT_GEQUAL16_M, (GlContext *gc, void *address, uint32_t z), 0)   \
  X(GLbool8, __glDT_ALWAYS16_M, (GlContext *gc, void *address, uint32_t z), 0)   \
  X(GLbool8, __glDT_NEVER, (GlContext *gc, void *address, uint32_t z), 0)        \
  X(GLbool8, __glDT_LESS, (GlContext *gc, void *address, uint32_t z), 0)         \
  X(GLbool8, __glDT_EQUAL, (GlContext *gc, void *address, uint32_t z), 0)        \
  X(GLbool8, __glDT_LEQUAL, (GlContext *gc, void *address, uint32_t z), 0)       \
  X(GLbool8, __glDT_GREATER, (GlContext *gc, void *address, uint32_t z), 0)      \
  X(GLbool8, __glDT_NOTEQUAL, (GlContext *gc, void *address, uint32_t z), 0)     \
  X(GLbool8, __glDT_GEQUAL, (GlContext *gc, void *address, uint32_t z), 0)       \
  X(GLbool8, __glDT_ALWAYS, (GlContext *gc, void *address, uint32_t z), 0)       \
  X(GLbool8, __glDT_LESS_M, (GlContext *gc, void *address, uint32_t z), 0)       \
  X(GLbool8, __glDT_EQUAL_M, (GlContext *gc, void *address, uint32_t z), 0)      \
  X(GLbool8, __glDT_LEQUAL_M, (GlContext *gc, void *address, uint32_t z), 0)     \
  X(GLbool8, __glDT_GREATER_M, (GlContext *gc, void *address, uint32_t z), 0)    \
  X(GLbool8, __glDT_NOTEQUAL_M, (GlContext *gc, void *address, uint32_t z), 0)   \
  X(GLbool8, __glDT_GEQUAL_M, (GlContext *gc, void *address, uint32_t z), 0)     \
  X(GLbool8, __glDT_ALWAYS_M, (GlContext *gc, void *address, uint32_t z), 0)
// clang-format on

RASTER_DEPTH_STANDINS(GL_STANDIN_DECLARE)
