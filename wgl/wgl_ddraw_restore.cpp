// Bringing back a lost surface: restored in place when the display mode is
// the one it was made under, re-created with its old size when not. The
// primary surface is the process's: re-created once, and every front buffer
// follows it.
#include "wgl/wgl_ddraw_kind.h"
#include "wgl/wgl_scoped_lock.h"

namespace {

// A surface of a new display mode in place of `buffer`'s old one.
void Recreate(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable) {
  GlDrawable *view = &drawable->drawable;
  LPDIRECTDRAWSURFACE surface = static_cast<LPDIRECTDRAWSURFACE>(buffer->handle);
  DDSURFACEDESC old = {};
  old.dwSize = sizeof old;
  HRESULT result = surface->lpVtbl->GetSurfaceDesc(surface, &old);
  if (result != DD_OK) {
    __wglDDrawError("DDraw: RestoreSurface: GetSurfaceDesc", result);
    return;
  }
  if (!__wglDDrawReleaseSurface(buffer, view, "DDraw: RestoreSurface: Release")) return;
  const uint32_t bit = __wglDDrawBufferBit(buffer, drawable);
  DDSURFACEDESC desc = {};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  desc.dwHeight = old.dwHeight;
  desc.dwWidth = old.dwWidth;
  if (buffer->update == __wglDDrawDepthUpdate) {
    desc.dwFlags |= DDSD_ZBUFFERBITDEPTH;
    desc.dwZBufferBitDepth = old.dwZBufferBitDepth;
    desc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | __wglDDrawMemoryCaps(bit);
  } else {
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | __wglDDrawMemoryCaps(bit);
  }
  if (!__wglDDrawCreateSurface(buffer, &desc, &result))
    __wglDDrawError("DDraw: RestoreSurface: CreateSurface", result);
}

// A screen surface for the process, taken by `buffer`.
void CreatePrimary(GlDrawableBuffer *buffer) {
  DDSURFACEDESC desc = {};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  LPDIRECTDRAWSURFACE created = nullptr;
  HRESULT result = lpDirectDraw
                       ? lpDirectDraw->lpVtbl->CreateSurface(lpDirectDraw, &desc, &created, nullptr)
                       : DDERR_INVALIDOBJECT;
  if (result != DD_OK || created == nullptr) {
    __wglDDrawError("DDraw: RestoreSurface: CreateSurface (primary)", result);
    return;
  }
  lpPrimarySurface = created;
  __wglDDrawTakePrimary(buffer, created);
}

void RecreatePrimary(GlDrawableBuffer *buffer, GlDrawable *view) {
  LPDIRECTDRAWSURFACE surface = static_cast<LPDIRECTDRAWSURFACE>(buffer->handle);
  __wglDDrawUnlock(buffer, view);
  if (surface->lpVtbl->Release(surface) != 0) {
    __wglDDrawError("DDraw: RestoreSurface: Release (primary)", DDERR_GENERIC);
    return;
  }
  buffer->handle = nullptr;
  if (lpPrimarySurface == surface) lpPrimarySurface = nullptr;
  CreatePrimary(buffer);
}

void Restore(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable) {
  const bool front = buffer == &drawable->drawable.front;
  // Another drawable may have re-created the screen's surface already.
  if (front) __wglDDrawFollowPrimary(buffer);
  // A buffer that fell back to memory holds no surface.
  if (!__wglDDrawHasSurface(buffer)) return;
  LPDIRECTDRAWSURFACE surface = static_cast<LPDIRECTDRAWSURFACE>(buffer->handle);
  // The screen's surface could not be made again last time: try once more,
  // or no window would ever show again.
  if (surface == nullptr && front && lpDirectDraw && __wglDDrawIsPrimary(buffer))
    CreatePrimary(buffer);
  if (surface == nullptr) return;
  HRESULT result = surface->lpVtbl->IsLost(surface);
  if (result == DD_OK) return;
  if (result != DDERR_SURFACELOST) {
    __wglDDrawError("DDraw: RestoreSurface: IsLost", result);
    return;
  }
  result = surface->lpVtbl->Restore(surface);
  if (result == DD_OK) return;
  if (result != DDERR_WRONGMODE) {
    __wglDDrawError("DDraw: RestoreSurface: Restore: failed", result);
    return;
  }
  if (front)
    RecreatePrimary(buffer, &drawable->drawable);
  else
    Recreate(buffer, drawable);
}

}  // namespace

void __wglDDrawRestoreSurface(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable) {
  if (buffer == nullptr || drawable == nullptr) return;
  GlDrawable *view = &drawable->drawable;
  WglDrawableHold hold(view, "wglddraw");
  Restore(buffer, drawable);
}
