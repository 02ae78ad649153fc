// The DirectDraw depth kind: a z-buffer surface whose rows are a multiple of
// eight pixels wide, locked at an 8-byte boundary, filled by depth blits.
#include "wgl/wgl_ddraw_kind.h"
#include "wgl/wgl_discard.h"
#include "wgl/wgl_modes.h"

namespace {

void Lock(GlDrawableBuffer *buffer, GlDrawable *drawable) {
  WglDiscardUnlessLocked discard{buffer, drawable};
  if (!__wglDDrawLockWhole(buffer, drawable)) return;
  // The depth spans read and write 8-byte groups; the surface's spare
  // bytes take the shift.
  uintptr_t address = reinterpret_cast<uintptr_t>(buffer->base);
  buffer->base = reinterpret_cast<uint8_t *>((address + 7) & ~uintptr_t(7));
}

HRESULT DepthFill(GlDrawableBuffer *buffer, RECT *rect, uint32_t value) {
  LPDIRECTDRAWSURFACE surface = static_cast<LPDIRECTDRAWSURFACE>(buffer->handle);
  if (surface == nullptr) return DDERR_SURFACELOST;
  DDBLTFX fx = {};
  fx.dwSize = sizeof fx;
  fx.dwFillDepth = value;
  return surface->lpVtbl->Blt(surface, rect, nullptr, nullptr, DDBLT_DEPTHFILL | DDBLT_WAIT, &fx);
}

void Fill(GlDrawableBuffer *buffer, GlDrawable *drawable, uint32_t value, int32_t x, int32_t y,
          int32_t width, int32_t height) {
  if (buffer == nullptr || drawable == nullptr) return;
  WGL_DDRAW_HOLD(drawable);
  if (__wglDDrawHasSurface(buffer)) {
    // A lost surface comes back through the lock. A lock already held is
    // someone's drawing: it stays.
    void **lockAddress = static_cast<void **>(buffer->kindPrivate);
    if (lockAddress && *lockAddress == nullptr && buffer->lock && buffer->unlock) {
      buffer->lock(buffer, drawable);
      buffer->unlock(buffer, drawable);
    }
    RECT rect = {x, y, LONG(int64_t(x) + width), LONG(int64_t(y) + height)};
    HRESULT result = DepthFill(buffer, &rect, value);
    if (result == DDERR_SURFACELOST) {
      __wglDDrawRestoreSurface(buffer, drawable->wglPrivate);
      result = DepthFill(buffer, &rect, value);
      if (result != DD_OK) __wglDDrawError("DDraw: Fill: Blt", result);
    }
  }
  WGL_DDRAW_RELEASE(drawable);
}

}  // namespace

uint32_t __wglDDrawDepthUpdate(GlDrawableBuffer *buffer, int32_t x, int32_t y, int32_t width,
                               int32_t height, GlDrawable *drawable, uint32_t bufferBit) {
  if (buffer == nullptr || drawable == nullptr) return 0;
  if (!__wglDDrawReleaseSurface(buffer, drawable, "DDraw: Update: Release")) return 0;
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  const int32_t given = width;
  // Rows of whole groups of eight, and room for the span code to run on.
  if (width & 7) width = (width + 15) & ~7;
  DDSURFACEDESC desc = {};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_ZBUFFERBITDEPTH;
  desc.dwHeight = height ? DWORD(height) : 1;
  desc.dwWidth = width ? DWORD(width) : 1;
  desc.dwZBufferBitDepth = buffer->depth;
  desc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | __wglDDrawMemoryCaps(bufferBit);
  HRESULT error;
  if (!__wglDDrawCreateSurface(buffer, &desc, &error))
    return __wglDDrawFallBack(buffer, x, y, given, height, drawable, bufferBit, error,
                              "DDraw: UpdateDepth: UpdateFallback");
  buffer->width = uint32_t(width);
  buffer->height = uint32_t(height);
  return 1;
}

void __wglInitDDrawDepth(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable, uint32_t depth,
                         WglBufferInitProc fallback) {
  if (buffer == nullptr || drawable == nullptr) return;
  buffer->width = 0;
  buffer->height = 0;
  buffer->base = nullptr;
  buffer->handle = nullptr;
  buffer->depth = depth;
  // Depths above 16 bits take 32-bit words, in the surface and in the core.
  buffer->elementSize = __wglBufferElementSize(buffer, drawable, depth);
  buffer->elementSizeLog2 = __wglDDrawLog2(buffer->elementSize);
  buffer->update = __wglDDrawDepthUpdate;
  buffer->lock = Lock;
  buffer->unlock = __wglDDrawUnlock;
  buffer->fill = Fill;
  buffer->free = __wglDDrawFree;
  buffer->ownInit = __wglInitDDrawDepth;
  buffer->fallbackInit = fallback;
  buffer->kindPrivate = __wglDDrawAllocPrivate(drawable, sizeof(void *));
}
