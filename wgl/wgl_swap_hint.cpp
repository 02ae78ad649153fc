// Swap hints: the rectangles the next swap must copy, kept as region data
// in window coordinates (rows from the top) with their bounding rectangle.
#include <limits.h>

#include "wgl/wgl_alloc.h"
#include "wgl/wgl_drawable_update.h"
#include "wgl/wgl_scoped_lock.h"

namespace {

// Sums kept inside 32 bits, so that no hint wraps round.
int32_t Saturate(int64_t value) {
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return int32_t(value);
}

RECT *Rects(RGNDATA *hints) { return reinterpret_cast<RECT *>(hints->Buffer); }

// Doubles the room; false (the list as it was) when it cannot.
bool Grow(WglDrawablePrivate *drawable) {
  uint32_t capacity = drawable->swapHintCapacity ? drawable->swapHintCapacity * 2 : 4;
  if (capacity > (UINT32_MAX - sizeof(RGNDATA)) / sizeof(RECT)) return false;
  void *grown = __wglRealloc(drawable->swapHints, capacity * sizeof(RECT) + sizeof(RGNDATA));
  if (grown == nullptr) return false;
  drawable->swapHints = static_cast<RGNDATA *>(grown);
  drawable->swapHintCapacity = capacity;
  return true;
}

}  // namespace

void __wglAddSwapHintRect(GlDrawable *drawable, int32_t x, int32_t y, int32_t width,
                          int32_t height) {
  WglDrawablePrivate *owner = drawable ? drawable->wglPrivate : nullptr;
  if (owner == nullptr || owner->swapHints == nullptr) return;
  WglGlobalHold hold;
  RGNDATA *hints = owner->swapHints;
  if (hints->rdh.nCount >= owner->swapHintCapacity) {
    if (!Grow(owner)) return;
    hints = owner->swapHints;
  }
  // GL counts rows from the bottom, the window from the top.
  RECT hint;
  hint.left = x;
  hint.right = Saturate(int64_t(x) + width);
  hint.bottom = Saturate(int64_t(drawable->height) - y);
  hint.top = Saturate(int64_t(hint.bottom) - height);
  Rects(hints)[hints->rdh.nCount] = hint;
  RECT &bound = hints->rdh.rcBound;
  if (hints->rdh.nCount++ == 0) {
    hints->rdh.nRgnSize = sizeof(RECT);
    bound = hint;
  } else {
    hints->rdh.nRgnSize += sizeof(RECT);
    if (hint.left < bound.left) bound.left = hint.left;
    if (hint.top < bound.top) bound.top = hint.top;
    if (hint.right > bound.right) bound.right = hint.right;
    if (hint.bottom > bound.bottom) bound.bottom = hint.bottom;
  }
}

// The swaps call these under the global lock; they do not take it again,
// as they run holding the drawable's mutex, which comes after it.
uint32_t __wglSwapHintCount(const WglDrawablePrivate *drawable) {
  return drawable && drawable->swapHints ? drawable->swapHints->rdh.nCount : 0;
}

void __wglClearSwapHints(WglDrawablePrivate *drawable) {
  if (drawable == nullptr || drawable->swapHints == nullptr) return;
  drawable->swapHints->rdh.nCount = 0;
  drawable->swapHints->rdh.nRgnSize = 0;
}
