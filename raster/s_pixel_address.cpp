// Where a window pixel lives in a drawable buffer's memory.
#include "core/context.h"
#include "core/drawable.h"
#include "raster/s_buffers.h"

int32_t __glRowBytes(const GlDrawableBuffer *buffer) {
  const int32_t bytes = buffer->pitch * int32_t(buffer->elementSize);
  // 3-byte rows start on a word boundary.
  return buffer->elementSize == 3 ? (bytes + 3) & ~3 : bytes;
}

uint8_t *__glPixelAddress(const GlContext *gc, const GlDrawableBuffer *buffer, int32_t x,
                          int32_t y) {
  const int32_t column = x - gc->constants.viewportXAdjust;
  const int32_t row = y - gc->constants.viewportYAdjust;
  return buffer->base + row * __glRowBytes(buffer) + column * int32_t(buffer->elementSize);
}
