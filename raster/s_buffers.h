// The frame-buffer objects of a context: the front and back colour buffers,
// stencil, depth and accumulation. Each begins with GlBuffer, which binds it
// to one buffer of the current drawable.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"
#include "geometry/s_vertex.h"

struct GlContext;
struct GlDrawableBuffer;
struct GlDrawable;

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

// One fragment for the fragment store: window position, depth in
// depth-buffer units, colour at colour-buffer scale (index in r).
typedef struct GlFragment {
  int32_t x, y;
  uint32_t z;
  GlColor color;
} GlFragment;

typedef struct GlColorBuffer {
  GlBuffer buf;
  // Each channel's mask shifted down to bit 0. Colour index: redMax is the
  // index mask (every bit of the buffer's index).
  uint32_t redMax, greenMax, blueMax;
  // Set: fetch, blend, dither, logic op and masking run as span stages
  // before storeSpan. No buffer of the driver sets it: its stores do that.
  uint8_t separateSpanOps;
  // Largest value of each component in the buffer (without alpha bits alpha
  // keeps the context's range). A colour-index buffer keeps the context's
  // scales, so that the words derived from them stay defined.
  GLfloat redScale, greenScale, blueScale;
  uint32_t iRedScale, iGreenScale, iBlueScale;
  uint32_t redShift, greenShift, blueShift, alphaShift;
  GLfloat alphaScale;
  uint32_t alphaMax;
  // 1 / each scale; kept in the front buffer's record for both buffers.
  GLfloat oneOverRedScale, oneOverGreenScale, oneOverBlueScale, oneOverAlphaScale;
  uint32_t sourceMask;  // pixel bits drawing may change
  uint32_t destMask;    // pixel bits drawing keeps (not 0: a channel is write-protected)
  // Chooses the procedures below for the current state.
  void (*pick)(GlContext *gc, GlColorBuffer *cfb);
  void (*store)(GlColorBuffer *cfb, const GlFragment *frag);
  void (*fetch[2])(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *out);
  void (*readSpan)(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *colors, int32_t count);
  void (*returnSpan)(GlColorBuffer *cfb, int32_t x, int32_t y, const GlColor *colors,
                     int32_t count);
  GLbool8 (*storeSpan)(GlContext *gc);
  GLbool8 (*storeStippledSpan)(GlContext *gc);
  GLbool8 (*fetchSpan[2])(GlContext *gc);
  uint8_t frFbType;  // the fast rasterizer's frame-buffer type
  void (*clear)(GlColorBuffer *cfb);
  void (*clearRect)(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
} GlColorBuffer;

typedef struct GlDepthBuffer {
  GlBuffer buf;
  // The largest value a depth element holds; window z runs 0 .. scale.
  uint32_t scale;
  // Installs the test-and-store procedure for index (function - GL_NEVER)
  // + 8 with writes off + 16 for more than 16 bits.
  void (*pick)(GlContext *gc, GlDepthBuffer *dfb, int32_t index);
} GlDepthBuffer;

typedef struct GlStencilBuffer {
  GlBuffer buf;
  // Rebuilds the stencil tables when the function, masks or operations
  // changed.
  void (*pick)(GlContext *gc, GlStencilBuffer *sfb);
} GlStencilBuffer;

typedef struct GlAccumBuffer {
  GlBuffer buf;
} GlAccumBuffer;

// What the depth buffer keeps with each drawable it is bound to, hung on the
// drawable's depth buffer record (GlDrawableBuffer.corePrivate).
typedef struct GlDepthBufferPrivate {
  uint8_t reversed;  // window z runs from far to near
} GlDepthBufferPrivate;

// Whether window z of the bound drawable's depth buffer runs from far to
// near (a 24-bit buffer after a fast clear moved it to the other half of its
// range). The caller holds the drawable's lock; false while unbound or while
// the drawable's depth buffer has no record of the core's.
GLbool8 __glDepthBufferReversed(GlContext *gc);

// Without a depth buffer the scale word still gives window z a range.
#define __GL_NO_DEPTH_BUFFER_SCALE 0x7FFFFF80u

// ---- Buffer objects ----
// Every buffer object's initialiser calls this first: unbound, no resize or
// free procedure, the default bind and unbind.
void __glInitBuffer(GlBuffer *buf, GlContext *gc);
void __glMakeCurrentBuffer(GlBuffer *buf, GlDrawableBuffer *drawableBuf, GlContext *gc);
void __glLoseCurrentBuffer(GlBuffer *buf);
// The colour buffers of an RGBA and of a colour-index visual, from the
// context's modes.
void __glInitRGB(GlColorBuffer *cfb, GlContext *gc);
void __glInitCI(GlColorBuffer *cfb, GlContext *gc);
// The ancillary buffers.
void __glInitDepth(GlDepthBuffer *dfb, GlContext *gc);
void __glInitStencil8(GlStencilBuffer *sfb, GlContext *gc);
void __glInitAccum64(GlAccumBuffer *afb, GlContext *gc);

// ---- The context's buffers and its drawable ----
// One buffer object of the context: its buffer bit, its record in the
// drawable (when a drawable is given) and whether the visual has the buffer.
typedef struct GlContextBuffer {
  GlBuffer *buf;
  uint32_t bit;
  GlDrawableBuffer *drawableBuf;
  GLbool8 present;
} GlContextBuffer;

#define __GL_CONTEXT_BUFFER_COUNT 5

// The context's buffer objects in the drawable's order: front, back,
// accumulation, depth, stencil.
void __glContextBuffers(GlContext *gc, GlDrawable *drawable,
                        GlContextBuffer buffers[__GL_CONTEXT_BUFFER_COUNT]);

// Binds every buffer object of the context to the drawable the imports give
// (none: the buffers stay unbound), taking its row order and size.
void __glMakeCurrentBuffers(GlContext *gc);
// Unbinds them; the context keeps no drawable afterwards.
void __glLoseCurrentBuffers(GlContext *gc);
// Frees what the buffer objects own (their free procedures).
void __glFreeBufData(GlContext *gc);
// The drawable's free-private procedure: gives back what the core keeps
// with the drawable.
void __glFreePrivate(GlDrawable *drawable);
// Re-reads the window size through the imports; false when it cannot be had.
GLbool8 __glFindWindowSize(GlContext *gc);
// Takes a new window origin and size: resizes the buffers, stores the size,
// recomputes the clip box and re-applies the scissor (not the viewport).
// False when the size cannot be taken; the context's size is then kept.
GLbool8 __glChangeWindowSize(GlContext *gc, int32_t x, int32_t y, int32_t width,
                             int32_t height);
// Re-expresses the raster position's window y for a drawable `height` rows
// high with the given row order, from the context's current ones, so that it
// stays the same distance from the window's bottom; stores neither.
void __glKeepRasterPosition(GlContext *gc, int32_t height, uint8_t yInverted);
// Frees the colour-index test table, when there is one.
void __glFreeIndexTestTable(GlContext *gc);
