// The DirectDraw depth kind: a z-buffer surface whose rows are a multiple of
// eight pixels wide, locked at an 8-byte boundary, filled by depth blits.
#include "wgl/wgl_ddraw_kind.h"
#include "wgl/wgl_discard.h"
#include "wgl/wgl_scoped_lock.h"

namespace {

void Lock(GlDrawableBuffer *buffer, GlDrawable *drawable) {
  WglDiscardUnlessLocked discard{buffer, drawable};
  if (!__wglDDrawLockWhole(buffer, drawable)) return;
  // The depth spans read and write 8-byte groups; the surface's spare
  // bytes take the shift.
  uintptr_t address = reinterpret_cast<uintptr_t>(buffer->base);
  buffer->base = reinterpret_cast<uint8_t *>((address + 7) & ~uintptr_t(7));
}

void Fill(GlDrawableBuffer *buffer, GlDrawable *drawable, uint32_t value, int32_t x, int32_t y,
          int32_t width, int32_t height) {
  if (buffer == nullptr || drawable == nullptr) return;
  WglDrawableHold hold(drawable, "wglddraw");
  if (__wglDDrawHasSurface(buffer)) {
    // A lost surface comes back through the lock. A lock already held is
    // someone's drawing: it stays.
    void **lockAddress = static_cast<void **>(buffer->kindPrivate);
    if (lockAddress && *lockAddress == nullptr && buffer->lock && buffer->unlock) {
      buffer->lock(buffer, drawable);
      buffer->unlock(buffer, drawable);
    }
    HRESULT result = __wglDDrawFillBlt(buffer, x, y, width, height, value, true);
    if (result == DDERR_SURFACELOST) {
      __wglDDrawRestoreSurface(buffer, drawable->wglPrivate);
      result = __wglDDrawFillBlt(buffer, x, y, width, height, value, true);
      if (result != DD_OK) __wglDDrawError("DDraw: Fill: Blt", result);
    }
  }
}

}  // namespace

uint32_t __wglDDrawDepthUpdate(GlDrawableBuffer *buffer, int32_t x, int32_t y, int32_t width,
                               int32_t height, GlDrawable *drawable, uint32_t bufferBit) {
  if (buffer == nullptr || drawable == nullptr) return 0;
  // Rows of whole groups of eight, and room for the span code to run on.
  int32_t rowWidth = width < 0 ? 0 : width;
  if (rowWidth & 7) rowWidth = (rowWidth + 15) & ~7;
  DDSURFACEDESC desc = {};
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_ZBUFFERBITDEPTH;
  desc.dwZBufferBitDepth = buffer->depth;
  desc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | __wglDDrawMemoryCaps(bufferBit);
  return __wglDDrawMakeSurface(buffer, x, y, width, height, drawable, bufferBit, &desc, rowWidth,
                               "DDraw: UpdateDepth: UpdateFallback");
}

void __wglInitDDrawDepth(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable, uint32_t depth,
                         WglBufferInitProc fallback) {
  if (buffer == nullptr || drawable == nullptr) return;
  __wglDDrawInitSurfaceKind(buffer, drawable, depth, __wglInitDDrawDepth, fallback);
  buffer->update = __wglDDrawDepthUpdate;
  buffer->lock = Lock;
  buffer->fill = Fill;
}
