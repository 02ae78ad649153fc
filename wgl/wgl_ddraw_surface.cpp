// The DirectDraw colour kind: a back or stencil buffer in an off-screen
// surface, in video memory where the device puts the buffer, else in system
// memory, and in plain memory when neither has room.
#include <limits.h>

#include "wgl/wgl_ddraw_kind.h"
#include "wgl/wgl_discard.h"
#include "wgl/wgl_modes.h"
#include "wgl/wgl_scoped_lock.h"

namespace {

void Lock(GlDrawableBuffer *buffer, GlDrawable *drawable) {
  WglDiscardUnlessLocked discard{buffer, drawable};
  __wglDDrawLockWhole(buffer, drawable);
}

LONG FarEdge(int32_t start, int32_t extent) {
  int64_t edge = int64_t(start) + extent;
  return LONG(edge > INT32_MAX ? INT32_MAX : edge < INT32_MIN ? INT32_MIN : edge);
}

}  // namespace

void __wglDDrawFree(GlDrawableBuffer *buffer, GlDrawable *drawable) {
  if (buffer->handle) {
    __wglDDrawReleaseSurface(buffer, drawable, "DDraw: Free");
    buffer->handle = nullptr;
    buffer->base = nullptr;
  }
  __wglDDrawFreePrivate(buffer, drawable);
}

bool __wglDDrawReleaseSurface(GlDrawableBuffer *buffer, GlDrawable *drawable,
                              const char *prefix) {
  LPDIRECTDRAWSURFACE surface = static_cast<LPDIRECTDRAWSURFACE>(buffer->handle);
  if (surface == nullptr) return true;
  __wglDDrawUnlock(buffer, drawable);
  if (surface->lpVtbl->Release(surface) != 0) {
    __wglDDrawError(prefix, DDERR_GENERIC);
    return false;
  }
  buffer->handle = nullptr;
  buffer->base = nullptr;
  return true;
}

uint32_t __wglDDrawCreateSurface(GlDrawableBuffer *buffer, DDSURFACEDESC *desc, HRESULT *error) {
  LPDIRECTDRAWSURFACE surface = nullptr;
  *error = lpDirectDraw ? lpDirectDraw->lpVtbl->CreateSurface(lpDirectDraw, desc, &surface, nullptr)
                        : DDERR_INVALIDOBJECT;
  if (*error != DD_OK || surface == nullptr) {
    if (*error == DD_OK) *error = DDERR_GENERIC;
    return 0;
  }
  buffer->handle = surface;
  return 1;
}

uint32_t __wglDDrawMakeSurface(GlDrawableBuffer *buffer, int32_t x, int32_t y, int32_t width,
                               int32_t height, GlDrawable *drawable, uint32_t bufferBit,
                               DDSURFACEDESC *desc, int32_t surfaceWidth, const char *message) {
  if (!__wglDDrawReleaseSurface(buffer, drawable, "DDraw: Update: Release")) return 0;
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (surfaceWidth < 0) surfaceWidth = 0;
  desc->dwSize = sizeof *desc;
  desc->dwHeight = height ? DWORD(height) : 1;
  desc->dwWidth = surfaceWidth ? DWORD(surfaceWidth) : 1;
  HRESULT error;
  if (!__wglDDrawCreateSurface(buffer, desc, &error))
    return __wglDDrawFallBack(buffer, x, y, width, height, drawable, bufferBit, error, message);
  buffer->width = uint32_t(surfaceWidth);
  buffer->height = uint32_t(height);
  return 1;
}

uint32_t __wglDDrawUpdate(GlDrawableBuffer *buffer, int32_t x, int32_t y, int32_t width,
                          int32_t height, GlDrawable *drawable, uint32_t bufferBit) {
  if (buffer == nullptr || drawable == nullptr) return 0;
  DDSURFACEDESC desc = {};
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | __wglDDrawMemoryCaps(bufferBit);
  return __wglDDrawMakeSurface(buffer, x, y, width, height, drawable, bufferBit, &desc, width,
                               "DDraw: Update: UpdateFallback");
}

HRESULT __wglDDrawFillBlt(GlDrawableBuffer *buffer, int32_t x, int32_t y, int32_t width,
                          int32_t height, uint32_t value, bool depth) {
  LPDIRECTDRAWSURFACE surface = static_cast<LPDIRECTDRAWSURFACE>(buffer->handle);
  if (surface == nullptr) return DDERR_SURFACELOST;
  RECT rect = {x, y, FarEdge(x, width), FarEdge(y, height)};
  DDBLTFX fx = {};
  fx.dwSize = sizeof fx;
  if (depth)
    fx.dwFillDepth = value;
  else
    fx.dwFillColor = value;
  const DWORD flags = (depth ? DDBLT_DEPTHFILL : DDBLT_COLORFILL) | DDBLT_WAIT;
  return surface->lpVtbl->Blt(surface, &rect, nullptr, nullptr, flags, &fx);
}

void __wglDDrawFill(GlDrawableBuffer *buffer, GlDrawable *drawable, uint32_t value, int32_t x,
                    int32_t y, int32_t width, int32_t height) {
  if (buffer == nullptr || drawable == nullptr) return;
  WglDrawableHold hold(drawable, "wglddraw");
  if (__wglDDrawHasSurface(buffer)) {
    HRESULT result = __wglDDrawFillBlt(buffer, x, y, width, height, value, false);
    if (result == DDERR_SURFACELOST) {
      __wglDDrawRestoreSurface(buffer, drawable->wglPrivate);
      result = __wglDDrawFillBlt(buffer, x, y, width, height, value, false);
      if (result != DD_OK) __wglDDrawError("DDraw: Fill: Blt", result);
    } else if (result != DD_OK) {
      __wglDDrawError("DDraw: Fill: Blt(2)", result);
    }
  }
}

void __wglDDrawInitSurfaceKind(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable,
                               uint32_t depth, WglSurfaceInitProc own,
                               WglBufferInitProc fallback) {
  buffer->width = 0;
  buffer->height = 0;
  buffer->base = nullptr;
  buffer->handle = nullptr;
  buffer->depth = depth;
  // Depths above 16 bits take 32-bit words, in the surface and in the core.
  buffer->elementSize = __wglBufferElementSize(buffer, drawable, depth);
  buffer->elementSizeLog2 = __glFloorLog2(buffer->elementSize);
  buffer->unlock = __wglDDrawUnlock;
  buffer->free = __wglDDrawFree;
  buffer->ownInit = own;
  buffer->fallbackInit = fallback;
  buffer->kindPrivate = __wglDDrawAllocPrivate(drawable, sizeof(void *));
}

void __wglInitDDraw(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable, uint32_t depth,
                    WglBufferInitProc fallback) {
  if (buffer == nullptr || drawable == nullptr) return;
  __wglDDrawInitSurfaceKind(buffer, drawable, depth, __wglInitDDraw, fallback);
  buffer->update = __wglDDrawUpdate;
  buffer->lock = Lock;
  buffer->fill = __wglDDrawFill;
}
