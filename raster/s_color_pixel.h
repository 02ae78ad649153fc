// What the colour and colour-index stores share: the rounding offset of a
// pixel, the conversion of a rounded component to pixel bits, the logic
// operation, and 3-byte pixel access.
#pragma once

#include <stdint.h>
#include <string.h>

#include "core/gl_defs.h"
#include "raster/s_dither.h"

struct GlContext;
struct GlColorBuffer;

// Whether a store into `cfb` may write window pixel (x, y): a pixel of the
// front buffer hidden by another window is not, while the front buffer is
// drawn. Back-buffer pixels belong to the window wherever they are, also
// while the front is drawn at the same time.
bool __glColorStoreOwns(GlContext *gc, const GlColorBuffer *cfb, int32_t x, int32_t y);

// Whether window pixel (x, y) of `cfb` has memory behind it: the front
// buffer of a window is the screen, which ends where the window hangs off
// its edge. Reads give black there.
bool __glColorPixelExists(const GlContext *gc, const GlColorBuffer *cfb, int32_t x, int32_t y);

// Added to a component before truncation: the dither matrix's offset
// (2 D + 1) / 32 of pixel (x, y) when dithering, else a half.
inline GLfloat __glColorRoundOffset(bool dither, int32_t x, int32_t y) {
  if (!dither) return 0.5f;
  const uint32_t d = __glDitherTable[(uint32_t(x) & 3) + 4 * (uint32_t(y) & 3)];
  return GLfloat(2 * d + 1) / 32.0f;
}

// The integer part of component c plus its rounding offset (toward zero),
// the low 32 bits kept. The sum is exact in double, so large indexes do not
// round up to the next one. The stores do not clamp, but every value, NaN
// and out-of-range ones included, gives a defined pixel.
inline uint32_t __glColorBits(GLfloat c, GLfloat offset) {
  const double v = double(c) + double(offset);
  if (!(v == v)) return 0;
  if (v >= 9.2233720368547758e18 || v <= -9.2233720368547758e18) return 0;
  return uint32_t(uint64_t(int64_t(v)));
}

// Round to nearest by adding 2^23: the float's low 23 bits hold the result
// for components in [0, 2^22).
inline uint32_t __glRoundBits(GLfloat v) {
  const GLfloat sum = v + 8388608.0f;
  uint32_t bits;
  memcpy(&bits, &sum, sizeof bits);
  return bits & 0x7FFFFFu;
}

// Round to nearest by adding 1.5 x 2^23, which keeps small negative sums
// (a dither offset below a half) on the same exponent.
inline uint32_t __glRoundBitsSigned(GLfloat v) {
  const GLfloat sum = v + 12582912.0f;
  uint32_t bits;
  memcpy(&bits, &sum, sizeof bits);
  return (bits & 0x7FFFFFu) - 0x400000u;
}

// The logic operation `op` (GL_CLEAR .. GL_SET) of source and destination,
// all 32 bits: the caller keeps the pixel's width. An unknown operation
// copies the source.
uint32_t __glApplyLogicOp(GLenum op, uint32_t src, uint32_t dst);

// The span of gc->polygon.shader through its buffer's fragment store, every
// pixel or only those whose stipple bit is set; the colour-index stores
// take the index from the first float.
void __glStoreSpanThroughFragments(GlContext *gc, bool stippled);

// A 3-byte pixel, byte 0 lowest.
inline uint32_t __glRead24(const uint8_t *p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
}
inline void __glWrite24(uint8_t *p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
}
