// The depth buffer's procedures beyond its record: the test-and-store table,
// the three widths' initialisers, the epoch bookkeeping, and the two helpers
// every depth test of the rasterizer goes through, so that the 24-bit
// buffer's reversal and clear epochs stay inside the depth buffer.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "raster/s_buffers.h"

struct GlContext;

// The epoch step of the 24-bit buffer's two runs: each fast clear moves the
// base down (minus 2^24) or up (plus 2^24) by one epoch.
#define __GL_DEPTH_STEP_DOWN 0xFF000000u
#define __GL_DEPTH_STEP_UP 0x01000000u

typedef GLbool8 (*GlDepthStoreProc)(GlDepthBuffer *dfb, int32_t x, int32_t y, uint32_t z);

// Test-and-store by index: (function - GL_NEVER), + 8 with depth writes off,
// + 16 for words of 32 bits (more than 16 depth bits). True: the fragment
// passes; the writing half stores its depth too.
extern const GlDepthStoreProc __glStoreProcs[32];

// The record's procedures, by the names the depth buffer gives them.
namespace depth {
// The depth at (x, y) in stored units (z >> shift), as the application's
// function compares it (never reversed); a word of an older epoch reads as
// the depth of the clear that made it stale.
uint32_t Fetch16(GlDepthBuffer *dfb, int32_t x, int32_t y);
uint32_t Fetch(GlDepthBuffer *dfb, int32_t x, int32_t y);
uint32_t FetchFastClear(GlDepthBuffer *dfb, int32_t x, int32_t y);
// Whether the epoch clear may be used in this state, and the store.
void Pick(GlContext *gc, GlDepthBuffer *dfb, int32_t index);
// glClear's depth clear over the clip box.
void Clear(GlDepthBuffer *dfb);
// Rewrites the clip box's words as plain depth (stored units, not
// reversed, older epochs as their clear's depth) topped with the top bits
// of `high`, for a layer that takes the buffer over; the buffer's own next
// clear is then a full one.
void Fix_zbuffer(GlContext *gc, GlDepthBuffer *dfb, uint32_t high);
}  // namespace depth

void __glInitDepth16(GlDepthBuffer *dfb, GlContext *gc);
void __glInitDepth24(GlDepthBuffer *dfb, GlContext *gc);
void __glInitDepth32(GlDepthBuffer *dfb, GlContext *gc);

// The record the bound drawable depth buffer keeps for the core; null while
// the buffer is unbound. Made when there is none (the first binding had no
// memory for it, or its maker was destroyed while another context still
// drew into the drawable); while it cannot be made, a record without clear
// epochs stands in.
GlDepthBufferPrivate *__glDepthPrivate(GlDepthBuffer *dfb);

// Keeps the epoch runs and the comparison performed in step with the depth
// function: turns the run round when its epochs are used up, and sets the
// buffer's func to the function the stored words need.
void __glValidateZCount(GlContext *gc);

// The stored word of the clear depth, after __glValidateZCount.
uint32_t __glDepthClearValue(GlDepthBuffer *dfb);
// Sets the rectangle [x0, x1) x [y0, y1) (window coordinates) to `value`
// by the two- or four-byte fill of the buffer's elements; the caller holds
// the depth buffer's lock and has checked its base.
void __glDepthFillRect(GlDepthBuffer *dfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                       uint32_t value);

// Depth words are stepped across rows and pixels with wraparound, so a
// depth that rounding puts a little below 0 arrives as a huge word. Of the
// words above scale, those in the upper half of the unused range are such
// underflows and count as 0; the others are past the far end.
inline uint32_t __glDepthInRange(uint32_t scale, uint32_t z) {
  if (z <= scale) return z;
  return z - scale > (UINT32_MAX - scale) / 2 ? 0 : scale;
}

// The word stored for window z (0 .. scale, see __glDepthInRange). A run
// that compares the other way stores (scale - z) in depth units, so the
// comparison performed is the mirror of the application's.
inline uint32_t __glDepthStoredValue(const GlDepthBufferPrivate *rec, uint32_t scale, uint32_t z) {
  z = __glDepthInRange(scale, z);
  uint32_t depth = z >> rec->shift;
  if (rec->reverse) depth = (scale >> rec->shift) - depth;
  return depth + rec->base;
}

// What a stored word compares as. A word of an older epoch stands for the
// clear that made it stale: the end of the current epoch's values on the
// side older epochs lie (the top of a descending run, the bottom of an
// ascending one), which is the stored value of that clear's depth.
inline uint32_t __glDepthCompareValue(const GlDepthBufferPrivate *rec, uint32_t scale,
                                      uint32_t word) {
  if (((word ^ rec->base) & ~rec->depthMask) == 0) return word;
  return rec->base + (rec->step == __GL_DEPTH_STEP_DOWN ? scale >> rec->shift : 0);
}
