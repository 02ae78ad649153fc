// The core's clip rectangle of a drawable: the part of the window the core
// draws into (the scissor box when the test is on, the whole window
// otherwise), from which the layer clamps the visible rectangles.
#include <limits.h>

#include "wgl/wgl_drawable.h"

namespace {

// The far edge, kept inside 32 bits so that a huge box never wraps.
int32_t FarEdge(int32_t start, int32_t extent) {
  int64_t edge = int64_t(start) + extent;
  if (edge > INT32_MAX) return INT32_MAX;
  if (edge < INT32_MIN) return INT32_MIN;
  return int32_t(edge);
}

}  // namespace

void __wglSetCoreClipRect(GlDrawable *drawable, int32_t x, int32_t y, int32_t width,
                          int32_t height) {
  drawable->coreClipRect.x0 = x;
  drawable->coreClipRect.y0 = y;
  drawable->coreClipRect.x1 = FarEdge(x, width);
  drawable->coreClipRect.y1 = FarEdge(y, height);
  drawable->coreClipRectValid = 1;
}
