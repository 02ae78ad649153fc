// The discard block a buffer draws into while its lock fails.
#include "wgl/wgl_discard.h"

#include <stdint.h>

#include <initializer_list>

#include "wgl/wgl_alloc.h"

namespace {

// The widest element any kind that can fail to lock uses.
constexpr size_t kWidestElement = 4;
// Room before and after, as the span code reads a little beyond its spans.
constexpr size_t kSpare = 32;

uint32_t Larger(uint32_t a, uint32_t b) { return a > b ? a : b; }
uint32_t Extent(int32_t size) { return size > 0 ? uint32_t(size) : 0; }

}  // namespace

void __wglDiscardPixels(GlDrawableBuffer *buffer, GlDrawable *drawable) {
  buffer->base = nullptr;
  if (drawable == nullptr || drawable->wglPrivate == nullptr || buffer->elementSize == 0 ||
      buffer->elementSize > kWidestElement)
    return;
  WglDrawablePrivate *owner = drawable->wglPrivate;
  // The core addresses the window's pixels; a buffer may be wider (depth
  // rows rounded up, the primary as wide as the screen). The block covers
  // every buffer of the drawable: the core locks them one after another, and
  // growing the block for a later one would free what an earlier one points
  // at.
  uint32_t width = Larger(buffer->width, Extent(drawable->width));
  uint32_t height = Larger(buffer->height, Extent(drawable->height));
  for (const GlDrawableBuffer *other :
       {&drawable->front, &drawable->back, &drawable->accum, &drawable->depth, &drawable->stencil}) {
    width = Larger(width, other->width);
    height = Larger(height, other->height);
  }
  const uint64_t pixels = uint64_t(width) * height;
  if (pixels > (SIZE_MAX / 2 - 2 * kSpare) / kWidestElement) return;
  const uint64_t bytes = pixels * kWidestElement + 2 * kSpare;
  if (owner->discardBytes < bytes) {
    void *block = __wglMalloc(size_t(bytes));
    if (block == nullptr) return;
    __wglFree(owner->discard);
    owner->discard = static_cast<uint8_t *>(block);
    owner->discardBytes = size_t(bytes);
  }
  buffer->base = owner->discard + kSpare;
  buffer->pitch = int32_t(width);
  buffer->pitchBytes = int32_t(width * buffer->elementSize);
}
