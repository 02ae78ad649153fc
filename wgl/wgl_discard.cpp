// The discard block a buffer draws into while its lock fails.
#include "wgl/wgl_discard.h"

#include <stdint.h>

#include "wgl/wgl_alloc.h"

namespace {

// The widest element any kind that can fail to lock uses.
constexpr size_t kWidestElement = 4;
// Room before and after, as the span code reads a little beyond its spans.
constexpr size_t kSpare = 32;

uint32_t Larger(uint32_t a, int32_t b) { return b > 0 && uint32_t(b) > a ? uint32_t(b) : a; }

}  // namespace

void __wglDiscardPixels(GlDrawableBuffer *buffer, GlDrawable *drawable) {
  buffer->base = nullptr;
  if (drawable == nullptr || drawable->wglPrivate == nullptr || buffer->elementSize == 0 ||
      buffer->elementSize > kWidestElement)
    return;
  WglDrawablePrivate *owner = drawable->wglPrivate;
  // The core addresses the window's pixels; the buffer may be wider (depth
  // rows rounded up, the primary as wide as the screen).
  const uint32_t width = Larger(buffer->width, drawable->width);
  const uint32_t height = Larger(buffer->height, drawable->height);
  const uint64_t bytes = uint64_t(width) * height * kWidestElement + 2 * kSpare;
  if (bytes > SIZE_MAX / 2) return;
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
