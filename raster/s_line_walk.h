// The DDA of a line run as every line stage walks it: pixel position, the
// 31-bit minor fraction whose carry picks the big step, and an address in
// one buffer stepped alongside.
#pragma once

#include <stdint.h>

#include "core/context.h"
#include "raster/s_buffers.h"
#include "core/drawable.h"

namespace line_walk {

struct Dda {
  int32_t x, y;
  uint32_t fraction, dfraction;
  int32_t xLittle, yLittle, xBig, yBig;

  explicit Dda(const GlLineMachine &l)
      : x(l.xStart),
        y(l.yStart),
        fraction(uint32_t(l.fraction)),
        dfraction(uint32_t(l.dfraction)),
        xLittle(l.xLittle),
        yLittle(l.yLittle),
        xBig(l.xBig),
        yBig(l.yBig) {}
  // Moves to the next pixel; true when it took the big step.
  bool Step() {
    fraction += dfraction;
    const bool big = (fraction & 0x80000000u) != 0;
    fraction &= 0x7FFFFFFFu;
    x += big ? xBig : xLittle;
    y += big ? yBig : yLittle;
    return big;
  }
};

// A buffer's element of the run's current pixel: the start address and the
// two byte steps, for any pitch (3-byte rows padded, negative pitches of
// bottom-up memory).
struct Cursor {
  uint8_t *p = nullptr;
  int32_t little = 0, big = 0;

  Cursor() = default;
  Cursor(const GlContext *gc, const GlDrawableBuffer *db, const GlLineMachine &l) {
    if (!db || !db->base) return;
    const int32_t row = __glRowBytes(db), elem = int32_t(db->elementSize);
    p = __glPixelAddress(gc, db, l.xStart, l.yStart);
    little = row * l.yLittle + elem * l.xLittle;
    big = row * l.yBig + elem * l.xBig;
  }
  void Step(bool isBig) { p += isBig ? big : little; }
};

}  // namespace line_walk
