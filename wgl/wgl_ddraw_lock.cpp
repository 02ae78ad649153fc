// Locking a DirectDraw surface for direct access, and ending the lock: the
// retry loop every DirectDraw kind locks through, bounded so that a surface
// that keeps failing costs a skipped drawing, never a hung thread.
#include <string.h>

#include <thread>

#include "wgl/wgl_ddraw_kind.h"
#include "wgl/wgl_message.h"

HRESULT __wglDDrawLockSurface(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable,
                              RECT *rect, DDSURFACEDESC *desc, const char *prefix) {
  HRESULT result = DDERR_INVALIDOBJECT;
  for (int attempt = 0; attempt < WGL_LOCK_RETRIES; ++attempt) {
    // A restore may have put a new surface in the buffer.
    LPDIRECTDRAWSURFACE surface = static_cast<LPDIRECTDRAWSURFACE>(buffer->handle);
    if (surface == nullptr) return DDERR_INVALIDOBJECT;
    memset(desc, 0, sizeof *desc);
    desc->dwSize = sizeof *desc;
    result = surface->lpVtbl->Lock(surface, rect, desc, DDLOCK_WAIT, nullptr);
    if (result == DD_OK) return DD_OK;
    if (result == DDERR_SURFACELOST) {
      __wglDDrawRestoreSurface(buffer, drawable);
    } else if (result == DDERR_SURFACEBUSY) {
      // Someone else holds it: give them the processor.
      std::this_thread::yield();
    } else {
      __wglDDrawError(prefix, result);
    }
  }
  return result;
}

void __wglDDrawUnlock(GlDrawableBuffer *buffer, GlDrawable *drawable) {
  (void)drawable;
  void **lockAddress = static_cast<void **>(buffer->kindPrivate);
  LPDIRECTDRAWSURFACE surface = static_cast<LPDIRECTDRAWSURFACE>(buffer->handle);
  if (lockAddress && *lockAddress && surface) {
    HRESULT result = surface->lpVtbl->Unlock(surface, *lockAddress);
    if (result != DD_OK) __wglDDrawError("DDraw: Unlock", result);
  }
  if (lockAddress) *lockAddress = nullptr;
  buffer->base = nullptr;
}

bool __wglDDrawLockWhole(GlDrawableBuffer *buffer, GlDrawable *drawable) {
  void **lockAddress = static_cast<void **>(buffer->kindPrivate);
  // Already locked: the lock in force stays (a second one would be refused
  // as busy).
  if (lockAddress && *lockAddress) return buffer->base != nullptr;
  buffer->base = nullptr;
  if (lockAddress == nullptr || drawable == nullptr) return false;
  DDSURFACEDESC desc;
  if (__wglDDrawLockSurface(buffer, drawable->wglPrivate, nullptr, &desc, "DDraw: Lock") != DD_OK)
    return false;
  LPDIRECTDRAWSURFACE surface = static_cast<LPDIRECTDRAWSURFACE>(buffer->handle);
  // A surface re-created under another display mode may hold smaller pixels
  // than the buffer's: the core would write past its rows.
  if (buffer->elementSize == 0 || desc.dwHeight < buffer->height ||
      desc.lPitch < int64_t(buffer->width) * buffer->elementSize) {
    surface->lpVtbl->Unlock(surface, desc.lpSurface);
    __wglError("DDraw: Lock: the surface is smaller than its buffer");
    return false;
  }
  buffer->base = static_cast<uint8_t *>(desc.lpSurface);
  buffer->pitchBytes = desc.lPitch;
  buffer->pitch = desc.lPitch / int32_t(buffer->elementSize);
  *lockAddress = desc.lpSurface;
  return true;
}
