// Small things every DirectDraw kind needs: its private block, the buffer's
// bit and the memory a surface is asked for.
#include "core/device.h"
#include "wgl/wgl_ddraw_kind.h"

void *__wglDDrawAllocPrivate(WglDrawablePrivate *drawable, size_t size) {
  if (drawable == nullptr || drawable->drawable.calloc == nullptr) return nullptr;
  return drawable->drawable.calloc(1, size);
}

void __wglDDrawFreePrivate(GlDrawableBuffer *buffer, GlDrawable *drawable) {
  if (buffer->kindPrivate && drawable && drawable->free) drawable->free(buffer->kindPrivate);
  buffer->kindPrivate = nullptr;
}

uint32_t __wglDDrawBufferBit(const GlDrawableBuffer *buffer, const WglDrawablePrivate *drawable) {
  const GlDrawable &view = drawable->drawable;
  if (buffer == &view.front) return 1;
  if (buffer == &view.back) return 4;
  if (buffer == &view.accum) return 16;
  if (buffer == &view.depth) return 32;
  if (buffer == &view.stencil) return 64;
  return 0;
}

DWORD __wglDDrawMemoryCaps(uint32_t bufferBit) {
  uint32_t flags = __glDevice ? __glDevice->flags : 0;
  return (flags & bufferBit) ? DDSCAPS_VIDEOMEMORY : DDSCAPS_SYSTEMMEMORY;
}
