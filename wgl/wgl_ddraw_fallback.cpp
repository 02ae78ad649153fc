// A DirectDraw buffer without a surface: it falls back to plain memory, the
// drawable swaps by copying while its back buffer lives there, and every
// later resize tries for a surface again.
#include "wgl/wgl_ddraw_kind.h"
#include "wgl/wgl_scoped_lock.h"

namespace {

// The update of a buffer that fell back: back to its DirectDraw kind, and
// that kind's update (which may fall back again).
uint32_t UpdateFallback(GlDrawableBuffer *buffer, int32_t x, int32_t y, int32_t width,
                        int32_t height, GlDrawable *drawable, uint32_t bufferBit) {
  if (buffer == nullptr || drawable == nullptr) return 0;
  WglDrawableHold hold(drawable, "wglddraw");
  WglSurfaceInitProc own = buffer->ownInit;
  WglBufferInitProc fallback = buffer->fallbackInit;
  uint32_t result = 0;
  if (own) {
    if (buffer->free) buffer->free(buffer, drawable);
    own(buffer, drawable->wglPrivate, buffer->depth, fallback);
    __wglDDrawSelectSwap(drawable->wglPrivate);
    if (buffer->update) result = buffer->update(buffer, x, y, width, height, drawable, bufferBit);
  }
  return result;
}

}  // namespace

bool __wglDDrawHasSurface(const GlDrawableBuffer *buffer) {
  return buffer->update == __wglDDrawUpdate || buffer->update == __wglDDrawDepthUpdate ||
         buffer->update == __wglDDrawPrimaryUpdate;
}

void __wglDDrawSelectSwap(WglDrawablePrivate *drawable) {
  const GlDrawableBuffer &back = drawable->drawable.back;
  // Only a back buffer of the DirectDraw kinds decides; a depth buffer in
  // memory does not stop the blit.
  if (back.ownInit == nullptr) return;
  WglSwapProc swap = __wglDDrawHasSurface(&back) ? drawable->setSwapBuffers
                                                 : drawable->memSwapBuffers;
  if (swap) drawable->swapBuffers = swap;
}

uint32_t __wglDDrawFallBack(GlDrawableBuffer *buffer, int32_t x, int32_t y, int32_t width,
                            int32_t height, GlDrawable *drawable, uint32_t bufferBit,
                            HRESULT error, const char *message) {
  WglSurfaceInitProc own = buffer->ownInit;
  WglBufferInitProc fallback = buffer->fallbackInit;
  if (fallback == nullptr) {
    __wglDDrawError(message, error);
    return 0;
  }
  const uint32_t depth = buffer->depth;
  if (buffer->free) buffer->free(buffer, drawable);
  fallback(buffer, drawable->wglPrivate, depth);
  buffer->ownInit = own;
  buffer->fallbackInit = fallback;
  uint32_t result = buffer->update
                        ? buffer->update(buffer, x, y, width, height, drawable, bufferBit)
                        : 0;
  // Even when memory fails too, the next resize tries for a surface again.
  buffer->update = UpdateFallback;
  __wglDDrawSelectSwap(drawable->wglPrivate);
  if (result == 0) {
    __wglDDrawError(message, error);
    return 0;
  }
  buffer->width = uint32_t(width);
  buffer->height = uint32_t(height);
  // The fallback's own code: the buffer is left out of the changed mask, so
  // a device that re-addresses its surfaces finds nothing of its own to
  // follow (the core reads the memory's address from the record each time).
  return kFallbackResult;
}
