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
  // Reads `count` pixels as scaled RGBA (index in r); returns false.
  GLbool8 (*readSpan)(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *colors, int32_t count);
  // Writes `count` accumulation pixels (four int16 each) times `scale`
  // through the store, unblended.
  void (*returnSpan)(GlColorBuffer *cfb, int32_t x, int32_t y, const int16_t *values,
                     GLfloat scale, int32_t count);
  GLbool8 (*storeSpan)(GlContext *gc);
  GLbool8 (*storeStippledSpan)(GlContext *gc);
  GLbool8 (*fetchSpan[2])(GlContext *gc);
  uint8_t frFbType;  // the fast rasterizer's frame-buffer type
  void (*clear)(GlColorBuffer *cfb);
  void (*clearRect)(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
} GlColorBuffer;

typedef struct GlDepthBuffer {
  GlBuffer buf;
  // The largest z the rasterizers carry: 0xFFFF0000 for 16-bit buffers,
  // 0x7FC00000 for 24- and 32-bit ones.
  uint32_t scale;
  GLenum func;  // the comparison performed (the epoch runs may turn it round)
  GLfloat offsetUnit;  // z of one polygon-offset unit
  // Rewrites stale epochs so that every word holds plain depth (24-bit
  // buffers; a no-op otherwise).
  void (*fix)(GlContext *gc, GlDepthBuffer *dfb, uint32_t high);
  // Installs store = __glStoreProcs[index]: (function - GL_NEVER) + 8 with
  // writes off + 16 for more than 16 bits.
  void (*pick)(GlContext *gc, GlDepthBuffer *dfb, int32_t index);
  // Tests window z (0 .. scale) at (x, y); stores it when it passes and
  // writes are on. True: the fragment passes.
  GLbool8 (*store)(GlDepthBuffer *dfb, int32_t x, int32_t y, uint32_t z);
  void (*clear)(GlDepthBuffer *dfb);
  GLbool8 (*storeAlways)(GlDepthBuffer *dfb, int32_t x, int32_t y, uint32_t z);
  // The depth at (x, y) in stored units, z >> shift of the drawable's
  // record (never reversed); readers divide by scale >> shift.
  uint32_t (*fetch)(GlDepthBuffer *dfb, int32_t x, int32_t y);
} GlDepthBuffer;

typedef struct GlStencilBuffer {
  GlBuffer buf;
  // Indexed by the stored value: whether the test passes, and the value
  // after a failed test, a failed depth test and a passed one (write mask
  // folded in). Built at the first validation, owned by the record.
  uint8_t *testMap;
  uint8_t *failMap;
  uint8_t *depthFailMap;
  uint8_t *depthPassMap;
  // Rebuilds the maps when the function, masks or operations changed.
  void (*pick)(GlContext *gc, GlStencilBuffer *sfb);
  void (*store)(GlStencilBuffer *sfb, int32_t x, int32_t y, uint32_t value);
  uint8_t (*fetch)(GlStencilBuffer *sfb, int32_t x, int32_t y);
  GLbool8 (*testFunc)(GlStencilBuffer *sfb, int32_t x, int32_t y);
  void (*failOp)(GlStencilBuffer *sfb, int32_t x, int32_t y);
  void (*passDepthFailOp)(GlStencilBuffer *sfb, int32_t x, int32_t y);
  void (*depthPassOp)(GlStencilBuffer *sfb, int32_t x, int32_t y);
  void (*clear)(GlStencilBuffer *sfb);
} GlStencilBuffer;

typedef struct GlAccumBuffer {
  GlBuffer buf;
  // 32767 / the front colour buffer's scale of each component, and 1 / each.
  GLfloat redScale, greenScale, blueScale, alphaScale;
  GLfloat oneOverRedScale, oneOverGreenScale, oneOverBlueScale, oneOverAlphaScale;
  void (*pick)(GlContext *gc, GlAccumBuffer *afb);
  void (*clear)(GlAccumBuffer *afb);
  // The five glAccum operations over the clip box (`return` is a keyword).
  void (*accumulate)(GlAccumBuffer *afb, GLfloat value);
  void (*load)(GlAccumBuffer *afb, GLfloat value);
  void (*return_)(GlAccumBuffer *afb, GLfloat value);
  void (*mult)(GlAccumBuffer *afb, GLfloat value);
  void (*add)(GlAccumBuffer *afb, GLfloat value);
} GlAccumBuffer;

// What the depth buffer keeps with each drawable depth buffer it is bound to
// (hung on GlDrawableBuffer.corePrivate), so that the 24-bit buffer's clear
// epochs survive context switches. Stored words are (z >> shift) + base;
// a 24-bit word's top byte is the epoch it was written in.
typedef struct GlDepthBufferPrivate {
  uint32_t base;
  uint32_t shift;
  uint32_t depthMask;
  uint32_t step;  // 0: no epochs; else plus or minus 2^24
  uint8_t fullClear;  // the next clear rewrites every word
  uint8_t fastClear;  // the epoch clear may be used in this state
  // The run compares the other way: stored depth is scale - z inside the
  // store, test and fetch; nothing outside the depth buffer sees it.
  uint8_t reverse;
} GlDepthBufferPrivate;
static_assert(sizeof(GlDepthBufferPrivate) <= 24, "the private record is 24 bytes");

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
// Frees the colour-index and alpha test tables, when there are any.
void __glFreeIndexTestTable(GlContext *gc);

// ---- Locking (the drawable's lock, then the drawable buffers in the order
// front, back, depth, stencil, accumulation, then the device) ----
void __glLockBuffers(GlContext *gc, uint32_t mask);
void __glUnlockBuffers(GlContext *gc, uint32_t mask);
void __glLockRenderBuffers(GlContext *gc);
void __glUnlockRenderBuffers(GlContext *gc);
void __glLockColorBuffer(GlContext *gc);
void __glUnlockColorBuffer(GlContext *gc);
void __glLockColorBufferDepthBuffer(GlContext *gc);
void __glUnlockColorBufferDepthBuffer(GlContext *gc);
// The context's lockBuffers / unlockBuffers slot, when one is installed:
// the bracket around every direct write of drawable memory.
void __glLockBuffersIfInstalled(GlContext *gc, uint32_t mask);
void __glUnlockBuffersIfInstalled(GlContext *gc, uint32_t mask);
// Whether window pixel (x, y) (biased) lies in a visible rectangle.
GLbool8 __glTestOwnership(GlContext *gc, int32_t x, int32_t y);

// ---- Pixel addresses ----
// The address of window pixel (x, y) (biased window coordinates) of a bound
// drawable buffer; 3-byte pixels use the padded row pitch.
uint8_t *__glPixelAddress(const GlContext *gc, const GlDrawableBuffer *buffer, int32_t x,
                          int32_t y);
// Bytes from one row to the next.
int32_t __glRowBytes(const GlDrawableBuffer *buffer);

// ---- The colour buffers' span reader, fetcher and writer ----
GLbool8 __glReadSpan(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *colors, int32_t count);
GLbool8 __glFetchSpan(GlContext *gc);
void __glReturnSpan(GlColorBuffer *cfb, int32_t x, int32_t y, const int16_t *values,
                    GLfloat scale, int32_t count);

// ---- Clears ----
// The back end's colour clear of a buffer other than the front one; the core
// device's (__glClearColorBufferClipBox) runs the buffer's clearRect over
// the clip box.
void __glClearColorBufferClipBox(GlColorBuffer *cfb);
// The colour clear of a front buffer: clearRect over each visible rectangle
// of the drawable, cut to the clip box.
void __glClearRegionRects(GlColorBuffer *cfb,
                          void (*clearRect)(GlColorBuffer *cfb, int32_t x0, int32_t y0,
                                            int32_t x1, int32_t y1));
