// The frame-buffer objects of a context: the front and back colour buffers,
// stencil, depth and accumulation. Each begins with GlBuffer, which binds it
// to one buffer of the current drawable.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"

struct GlContext;
struct GlDrawableBuffer;

// One bit per buffer, shared with the window-system layer.
#define __GL_FRONT_BUFFER_MASK 0x1u
#define __GL_BACK_BUFFER_MASK 0x4u
#define __GL_ACCUM_BUFFER_MASK 0x10u
#define __GL_DEPTH_BUFFER_MASK 0x20u
#define __GL_STENCIL_BUFFER_MASK 0x40u

typedef struct GlBuffer {
  GlContext *gc;  // owner; none until the first make-current
  GlDrawableBuffer *drawableBuf;
  GLbool8 (*resize)(GlBuffer *buf, int32_t x, int32_t y, int32_t width, int32_t height,
                    uint32_t bufferBit);
  void (*makeCurrent)(GlBuffer *buf, GlDrawableBuffer *drawableBuf, GlContext *gc);
  void (*loseCurrent)(GlBuffer *buf);
  void (*free)(GlBuffer *buf, GlContext *gc);
} GlBuffer;

typedef struct GlColorBuffer {
  GlBuffer buf;
  // Largest value of each component in the buffer: red, green, blue (from
  // the visual's masks), alpha.
  GLfloat redScale, greenScale, blueScale, alphaScale;
  GLuint indexMask;  // colour index: every bit of the buffer's index
} GlColorBuffer;

typedef struct GlDepthBuffer {
  GlBuffer buf;
  // The largest value a depth element holds; window z runs 0 .. scale.
  uint32_t scale;
} GlDepthBuffer;

typedef struct GlStencilBuffer {
  GlBuffer buf;
} GlStencilBuffer;

typedef struct GlAccumBuffer {
  GlBuffer buf;
} GlAccumBuffer;

// Whether window z of the bound drawable's depth buffer runs from far to
// near (a 24-bit buffer after a fast clear moved it to the other half of its
// range). The caller holds the drawable's lock; false while unbound.
GLbool8 __glDepthBufferReversed(GlContext *gc);
