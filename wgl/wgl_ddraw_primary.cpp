// The DirectDraw primary kind: the front buffer of a window is its rectangle
// of the screen's primary surface, shared by every drawable, seen through a
// clipper bound to the window.
#include <string.h>

#include "wgl/wgl_ddraw_kind.h"
#include "wgl/wgl_discard.h"
#include "wgl/wgl_message.h"
#include "wgl/wgl_modes.h"
#include "wgl/wgl_scoped_lock.h"

namespace {

WglDDrawPrimaryPrivate *PrivateOf(const GlDrawableBuffer *buffer) {
  return __wglDDrawIsPrimary(buffer) ? static_cast<WglDDrawPrimaryPrivate *>(buffer->kindPrivate)
                                     : nullptr;
}

LONG Smaller(LONG a, LONG b) { return a < b ? a : b; }

// Whether any of `screen` shows through the window's clipper: a hidden or
// covered window has nothing to draw. Unknown counts as showing.
bool Shows(LPDIRECTDRAWCLIPPER clipper, RECT *screen) {
  DWORD size = 0;
  if (clipper->lpVtbl->GetClipList(clipper, screen, nullptr, &size) != DD_OK) return true;
  return size > sizeof(RGNDATAHEADER);
}

void Lock(GlDrawableBuffer *buffer, GlDrawable *drawable) {
  WglDDrawPrimaryPrivate *state = PrivateOf(buffer);
  if (state && state->lockAddress) return;  // the lock in force stays
  buffer->base = nullptr;
  WglDiscardUnlessLocked discard{buffer, drawable};
  if (state == nullptr || drawable == nullptr || drawable->wglPrivate == nullptr) return;
  WglDrawablePrivate *window = drawable->wglPrivate;
  // A screen lost to a display change is made again before its size is
  // read: a smaller screen refuses a rectangle of the old one.
  __wglDDrawRestoreSurface(buffer, window);
  __wglDDrawFollowPrimary(buffer);
  state->visible = RECT{0, 0, 0, 0};

  // The window's rectangle on the screen; what lies left of or above the
  // screen is skipped.
  RECT area;
  LONG skipX = 0, skipY = 0;
  area.left = window->rect.left;
  if (area.left < 0) skipX = -area.left, area.left = 0;
  area.top = window->rect.top;
  if (area.top < 0) skipY = -area.top, area.top = 0;
  area.right = Smaller(window->rect.right, LONG(buffer->width));
  if (area.right < 0) area.right = 0;
  area.bottom = Smaller(window->rect.bottom, LONG(buffer->height));
  if (area.bottom < 0) area.bottom = 0;
  // Minimised, off the screen, 0 x 0, hidden or covered: nothing to draw,
  // and nothing to lock (the lock would be refused every time).
  if (area.right <= area.left || area.bottom <= area.top) return;
  if (state->clipper && !Shows(state->clipper, &area)) return;

  DDSURFACEDESC desc;
  if (__wglDDrawLockSurface(buffer, window, &area, &desc, "DDraw: LockPrimary: Lock") != DD_OK)
    return;
  // After a display change to another pixel size the core's pixels no
  // longer fit the screen's.
  LPDIRECTDRAWSURFACE surface = static_cast<LPDIRECTDRAWSURFACE>(buffer->handle);
  if (buffer->elementSize == 0 ||
      (desc.ddpfPixelFormat.dwRGBBitCount + 7) / 8 != buffer->elementSize) {
    surface->lpVtbl->Unlock(surface, desc.lpSurface);
    __wglError("DDraw: LockPrimary: the screen's pixels changed size");
    return;
  }
  buffer->pitchBytes = desc.lPitch;
  buffer->pitch = desc.lPitch / int32_t(buffer->elementSize);
  state->lockAddress = desc.lpSurface;
  // base addresses the window's origin, on the screen or not.
  buffer->base = static_cast<uint8_t *>(desc.lpSurface) - skipX * int32_t(buffer->elementSize) -
                 skipY * desc.lPitch;
  state->visible = RECT{area.left - window->rect.left, area.top - window->rect.top,
                        area.right - window->rect.left, area.bottom - window->rect.top};
  if (state->clipper && drawable->updateClipList) drawable->updateClipList(drawable);
}

void Fill(GlDrawableBuffer *buffer, GlDrawable *drawable, uint32_t value, int32_t x, int32_t y,
          int32_t width, int32_t height) {
  if (buffer == nullptr || drawable == nullptr || drawable->wglPrivate == nullptr) return;
  WglDrawableHold hold(drawable, "wglddraw");
  WglDDrawPrimaryPrivate *state = PrivateOf(buffer);
  __wglDDrawFollowPrimary(buffer);
  LPDIRECTDRAWSURFACE surface = static_cast<LPDIRECTDRAWSURFACE>(buffer->handle);
  // Without the window's clipper a fill would paint over other windows.
  if (state && state->clipper && surface) {
    HRESULT result = surface->lpVtbl->SetClipper(surface, state->clipper);
    if (result != DD_OK) {
      __wglDDrawError("DDraw: Fill: SetClipper", result);
    } else {
      const RECT &rect = drawable->wglPrivate->rect;
      __wglDDrawFill(buffer, drawable, value, int32_t(int64_t(x) + rect.left),
                     int32_t(int64_t(y) + rect.top), width, height);
    }
  }
}

// The primary surface is everyone's: only the clipper goes.
void Free(GlDrawableBuffer *buffer, GlDrawable *drawable) {
  WglDDrawPrimaryPrivate *state = PrivateOf(buffer);
  // Another window may have made the screen's surface again: the old one
  // is gone.
  __wglDDrawFollowPrimary(buffer);
  if (state) {
    if (state->lockAddress) __wglDDrawUnlock(buffer, drawable);
    if (state->clipper) {
      // The screen lets go of it too when it is the one attached there.
      LPDIRECTDRAWSURFACE surface = static_cast<LPDIRECTDRAWSURFACE>(buffer->handle);
      LPDIRECTDRAWCLIPPER attached = nullptr;
      if (surface && surface->lpVtbl->GetClipper(surface, &attached) == DD_OK && attached) {
        if (attached == state->clipper) surface->lpVtbl->SetClipper(surface, nullptr);
        attached->lpVtbl->Release(attached);
      }
      state->clipper->lpVtbl->Release(state->clipper);
      state->clipper = nullptr;
    }
  }
  __wglDDrawFreePrivate(buffer, drawable);
  buffer->handle = nullptr;
  buffer->base = nullptr;
}

}  // namespace

uint32_t __wglDDrawPrimaryUpdate(GlDrawableBuffer *buffer, int32_t, int32_t, int32_t, int32_t,
                                 GlDrawable *drawable, uint32_t) {
  WglDDrawPrimaryPrivate *state = buffer ? PrivateOf(buffer) : nullptr;
  if (state == nullptr || drawable == nullptr || drawable->wglPrivate == nullptr) return 0;
  if (state->clipper == nullptr) {
    if (lpDirectDraw == nullptr) return 0;
    LPDIRECTDRAWCLIPPER clipper = nullptr;
    HRESULT result = lpDirectDraw->lpVtbl->CreateClipper(lpDirectDraw, 0, &clipper, nullptr);
    if (result != DD_OK || clipper == nullptr) {
      __wglDDrawError("Update: CreateClipper", result);
      return 0;
    }
    result = clipper->lpVtbl->SetHWnd(clipper, 0, drawable->wglPrivate->hwnd);
    if (result != DD_OK) {
      __wglDDrawError("Update: SetHWND", result);
      clipper->lpVtbl->Release(clipper);
      return 0;
    }
    state->clipper = clipper;
  }
  return 1;
}

bool __wglDDrawIsPrimary(const GlDrawableBuffer *buffer) {
  return buffer->update == __wglDDrawPrimaryUpdate;
}

void __wglDDrawTakePrimary(GlDrawableBuffer *buffer, LPDIRECTDRAWSURFACE surface) {
  buffer->handle = surface;
  if (surface == nullptr) return;
  // The screen's size may have changed with the display mode.
  DDSURFACEDESC desc = {};
  desc.dwSize = sizeof desc;
  if (surface->lpVtbl->GetSurfaceDesc(surface, &desc) != DD_OK) return;
  buffer->width = desc.dwWidth;
  buffer->height = desc.dwHeight;
  buffer->pitchBytes = desc.lPitch;
  if (buffer->elementSize) buffer->pitch = desc.lPitch / int32_t(buffer->elementSize);
}

void __wglDDrawFollowPrimary(GlDrawableBuffer *buffer) {
  // Also when there is none: a surface another window released must not be
  // used.
  if (__wglDDrawIsPrimary(buffer) && buffer->handle != lpPrimarySurface)
    __wglDDrawTakePrimary(buffer, lpPrimarySurface);
}

void __wglInitDDrawPrimary(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable) {
  if (buffer == nullptr || drawable == nullptr) return;
  buffer->width = 0;
  buffer->height = 0;
  buffer->base = nullptr;
  buffer->update = __wglDDrawPrimaryUpdate;
  buffer->lock = Lock;
  buffer->unlock = __wglDDrawUnlock;
  buffer->fill = Fill;
  buffer->free = Free;
  buffer->ownInit = nullptr;
  buffer->fallbackInit = nullptr;
  buffer->handle = lpPrimarySurface;
  buffer->kindPrivate = __wglDDrawAllocPrivate(drawable, sizeof(WglDDrawPrimaryPrivate));
  if (buffer->handle == nullptr) return;

  __wglDDrawRestoreSurface(buffer, drawable);
  LPDIRECTDRAWSURFACE surface = static_cast<LPDIRECTDRAWSURFACE>(buffer->handle);
  if (surface == nullptr) return;
  DDSURFACEDESC desc = {};
  desc.dwSize = sizeof desc;
  HRESULT result = surface->lpVtbl->Lock(surface, nullptr, &desc, DDLOCK_WAIT, nullptr);
  if (result != DD_OK) {
    __wglDDrawError("__wglInitDDrawPrimary: Lock", result);
    return;
  }
  if (lpPrimaryBase == nullptr) lpPrimaryBase = desc.lpSurface;
  result = surface->lpVtbl->Unlock(surface, desc.lpSurface);
  if (result != DD_OK) {
    __wglDDrawError("__wglInitDDrawPrimary: Unlock", result);
    return;
  }
  DDPIXELFORMAT format = {};
  format.dwSize = sizeof format;
  result = surface->lpVtbl->GetPixelFormat(surface, &format);
  if (result != DD_OK) {
    __wglDDrawError("__wglInitDDrawPrimary: GetPixelFormat", result);
    return;
  }
  buffer->width = desc.dwWidth;
  buffer->height = desc.dwHeight;
  buffer->depth = format.dwRGBBitCount;
  buffer->elementSize = __wglBufferElementSize(buffer, drawable, buffer->depth);
  buffer->elementSizeLog2 = __glFloorLog2(buffer->elementSize);
  buffer->pitchBytes = desc.lPitch;
  buffer->pitch = buffer->elementSize ? desc.lPitch / int32_t(buffer->elementSize) : 0;
}

// The screen's palette is the system's; nothing to do.
void __wglDDrawUpdateDrawablePalette(WglDrawablePrivate *) {}
