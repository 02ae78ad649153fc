// What the clear-rectangle routines share: the memory a window rectangle
// of a colour buffer covers.
#pragma once

#include <stdint.h>

struct GlColorBuffer;
struct GlContext;

typedef struct GlClearTarget {
  GlContext *gc;
  uint8_t *first;  // the rectangle's first pixel
  int32_t width, height;
  int32_t rowBytes;  // from one row to the next
  uint32_t elementSize;
} GlClearTarget;

// False, with nothing to fill, when the rectangle [x0, x1) x [y0, y1) is
// empty or the buffer is not bound to memory.
bool __glClearTarget(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                     GlClearTarget *target);
