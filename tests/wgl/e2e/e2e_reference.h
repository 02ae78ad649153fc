// What the test asks of the reference program: the window's size and origin,
// the viewport, the pixel format's buffers and the drawable's row order. The
// test passes the fields as arguments in this order; the program answers with
// width x height 32-bit pixels in the colour buffer's own layout, top row
// first, on its standard output.
#pragma once

#include <stdint.h>

#define E2E_REFERENCE_FIELDS(X)                                                             \
  X(width) X(height) X(viewportWidth) X(viewportHeight) X(originX) X(originY) X(colorBits) \
  X(redBits) X(redShift) X(greenBits) X(greenShift) X(blueBits) X(blueShift) X(alphaBits)  \
  X(alphaShift) X(accumRedBits) X(accumGreenBits) X(accumBlueBits) X(accumAlphaBits)      \
  X(depthBits) X(stencilBits) X(doubleBuffer) X(yInverted) X(dither)

struct ReferenceRequest {
#define E2E_REFERENCE_FIELD(name) int name = 0;
  E2E_REFERENCE_FIELDS(E2E_REFERENCE_FIELD)
#undef E2E_REFERENCE_FIELD
};

// The bits of a pixel that a component of `bits` bits at `shift` takes.
inline uint32_t ComponentMask(int bits, int shift) {
  return bits <= 0 ? 0 : uint32_t(((uint64_t(1) << bits) - 1) << shift);
}
