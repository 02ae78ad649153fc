// Drawable records: one per window or memory bitmap that contexts render
// into, shared by every context bound to it and counted by reference. The
// list is headed by the sentinel wglPrivListEnd and changed under the global
// lock.
#include "wgl/wgl_drawable_list.h"

#include <string.h>

#include "core/device.h"
#include "wgl/wgl_alloc.h"
#include "wgl/wgl_drawable_update.h"
#include "wgl/wgl_record_list.h"
#include "wgl/wgl_scoped_lock.h"

WglDrawablePrivate wglPrivListEnd;

namespace {

// Room for the swap hints at creation; the list doubles as it fills.
constexpr uint32_t kFirstSwapHintCapacity = 4;

RGNDATA *NewSwapHints(uint32_t capacity) {
  RGNDATA *hints = static_cast<RGNDATA *>(__wglMalloc(capacity * sizeof(RECT) + sizeof(RGNDATA)));
  if (hints == nullptr) return nullptr;
  hints->rdh.dwSize = sizeof(RGNDATAHEADER);
  hints->rdh.iType = RDH_RECTANGLES;
  hints->rdh.nCount = 0;
  hints->rdh.nRgnSize = 0;
  hints->rdh.rcBound = RECT{0, 0, 0, 0};
  return hints;
}

// Gives back what creation took before the buffers were chosen.
void FreeRecord(WglDrawablePrivate *drawable) {
  GlDrawable *view = &drawable->drawable;
  __wglFree(drawable->swapHints);
  __wglFree(view->modes);
  __wglFree(view->clipRects);
  __wglFree(drawable->discard);
  __wglFree(drawable);
}

WglDrawablePrivate *FindLocked(HDC hdc, HWND hwnd) {
  for (WglDrawablePrivate *p = wglPrivListEnd.next; p; p = p->next) {
    if (p->hwnd) {
      if (p->hwnd == hwnd) return p;
    } else if (hdc != WGL_FIND_BY_WINDOW && p->hdc == hdc && p->drawable.modes &&
               p->drawable.modes->isBitmap) {
      // Only a memory DC's record is found by its DC. A destroyed window's
      // record keeps a DC handle that a new window's DC may reuse.
      return p;
    }
  }
  return nullptr;
}

}  // namespace

WglDrawablePrivate *__wglCreateDrawablePrivate(HDC hdc, HWND hwnd, const GlModes *modes) {
  if (modes == nullptr) return nullptr;
  WglDrawablePrivate *drawable =
      static_cast<WglDrawablePrivate *>(__wglCalloc(1, sizeof(WglDrawablePrivate)));
  if (drawable == nullptr) return nullptr;
  GlDrawable *view = &drawable->drawable;
  view->modes = static_cast<GlModes *>(__wglMalloc(sizeof(GlModes)));
  drawable->swapHints = NewSwapHints(kFirstSwapHintCapacity);
  view->mutex = __wglCreateDrawableMutex();
  // Nothing is listed or chosen yet, so a failure only gives the blocks back.
  if (view->modes == nullptr || drawable->swapHints == nullptr || view->mutex == nullptr) {
    __wglDestroyDrawableMutex(view->mutex);
    FreeRecord(drawable);
    return nullptr;
  }
  drawable->swapHintCapacity = kFirstSwapHintCapacity;
  drawable->hdc = hdc;
  drawable->hwnd = hwnd;
  memcpy(view->modes, modes, sizeof(GlModes));
  view->modes->isBitmap = hwnd ? 0 : 1;

  view->malloc = __wglMalloc;
  view->calloc = __wglCalloc;
  view->realloc = __wglRealloc;
  view->free = __wglFree;
  view->addSwapHintRect = __wglAddSwapHintRect;
  view->setCoreClipRect = __wglSetCoreClipRect;
  view->lock = __wglGLLockDrawableMutex;
  view->unlock = __wglGLUnlockDrawableMutex;
  view->wglPrivate = drawable;

  const GlDevice *device = __glDevice;
  if (device) {
    drawable->freeBuffers = device->freeBuffers;
    drawable->updateDrawablePalette = device->updateDrawablePalette;
    void (*choose)(WglDrawablePrivate *, const GlModes *) =
        hwnd ? device->initDrawable : device->dibInitDrawable;
    if (choose) choose(drawable, view->modes);
  }

  WglGlobalHold hold;
  __wglListAddHead(&wglPrivListEnd, drawable);
  drawable->refcount = 1;
  return drawable;
}

bool __wglDestroyDrawablePrivate(WglDrawablePrivate *drawable) {
  if (drawable == nullptr) return false;
  if (--drawable->refcount > 0) return false;
  {
    WglGlobalHold hold;
    __wglListRemove(drawable);
  }
  GlDrawable *view = &drawable->drawable;
  // The core's records come from the drawable's allocators and may sit in
  // the buffers: they go before the buffers do.
  if (view->freePrivate) view->freePrivate(view);
  if (drawable->freeBuffers) drawable->freeBuffers(drawable);
  FreeRecord(drawable);
  return true;
}

WglDrawablePrivate *__wglFindDrawablePrivate(HDC hdc, HWND hwnd) {
  WglGlobalHold hold;
  WglDrawablePrivate *found = FindLocked(hdc, hwnd);
  return found;
}

WglDrawablePrivate *__wglGetDrawablePrivate(HDC hdc, HWND hwnd, const GlModes *modes) {
  WglGlobalHold hold;
  WglDrawablePrivate *drawable = FindLocked(hdc, hwnd);
  if (drawable == nullptr) drawable = __wglCreateDrawablePrivate(hdc, hwnd, modes);
  return drawable;
}

void __wglReleaseDrawable(WglDrawablePrivate *drawable) {
  if (drawable == nullptr) return;
  WglDrawableMutex *mutex = drawable->drawable.mutex;
  WglDrawableHold hold(mutex);
  if (__wglDestroyDrawablePrivate(drawable)) {
    // The last reference went: the mutex goes after the hold lets go of it.
    hold.unlock();
    __wglDestroyDrawableMutex(mutex);
  }
}

void __wglFreeDrawableList(void) {
  WglGlobalHold hold;
  // Every pass drops one reference of the first record, so each record goes
  // after as many passes as it had references.
  while (WglDrawablePrivate *drawable = wglPrivListEnd.next) __wglReleaseDrawable(drawable);
}
