// The per-thread window-message hook: keeps drawables in step with their
// windows (destruction, moves and resizes, palette changes) and the
// pixel-format list with the display mode. Every message is passed on.
#include "wgl/wgl_hook.h"

#include "core/device.h"
#include "wgl/wgl_attach.h"
#include "wgl/wgl_context_list.h"
#include "wgl/wgl_drawable_list.h"
#include "wgl/wgl_drawable_update.h"
#include "wgl/wgl_global_lock.h"

namespace {

// The last display mode seen; the first display change always differs.
struct DisplayMode {
  uint32_t depth, width, height;
};
DisplayMode lastMode;

constexpr const char *kLockFile = "wglcomm";

void FlagContextsOf(HWND hwnd, uint32_t flag) {
  for (WglContext *record = glrcListEnd.next; record; record = record->next)
    if (record->hwnd == hwnd) record->flags |= flag;
}

// Takes the global lock and, when the window has a drawable, its mutex
// (recording the lock site); gives the drawable, or none. The caller leaves
// the global lock either way.
WglDrawablePrivate *LockWindowDrawable(HWND hwnd) {
  __wglLockMutex();
  WglDrawablePrivate *drawable = __wglFindDrawablePrivate(WGL_FIND_BY_WINDOW, hwnd);
  if (drawable) {
    __wglLockDrawableMutex(drawable->drawable.mutex);
    WGL_LOCK_SITE(&drawable->drawable, kLockFile);
  }
  return drawable;
}

void WindowDestroyed(HWND hwnd) {
  if (WglDrawablePrivate *drawable = LockWindowDrawable(hwnd)) {
    WglDrawableMutex *mutex = drawable->drawable.mutex;
    FlagContextsOf(hwnd, WGL_PENDING_DESTROY);
    // The window's own reference goes; contexts still bound keep the record.
    if (__wglDestroyDrawablePrivate(drawable)) {
      __wglUnlockDrawableMutex(mutex);
      __wglDestroyDrawableMutex(mutex);
    } else {
      WGL_CLEAR_LOCK_SITE(&drawable->drawable);
      drawable->hwnd = nullptr;
      __wglUnlockDrawableMutex(mutex);
    }
  }
  __wglUnlockMutex();
}

void WindowMoved(HWND hwnd) {
  if (WglDrawablePrivate *drawable = LockWindowDrawable(hwnd)) {
    // Each bound context learns the new size at its next drawable lock.
    FlagContextsOf(hwnd, WGL_PENDING_SIZE);
    __wglUpdateDrawableBuffers(drawable);
    WGL_CLEAR_LOCK_SITE(&drawable->drawable);
    __wglUnlockDrawableMutex(drawable->drawable.mutex);
  }
  __wglUnlockMutex();
}

void DisplayChanged(WPARAM wParam, LPARAM lParam) {
  DisplayMode mode = {static_cast<uint32_t>(wParam), LOWORD(lParam), HIWORD(lParam)};
  // Every window's owner thread hears of the change; the lock lets only the
  // first of them rebuild the list.
  __wglLockMutex();
  bool changed = mode.depth != lastMode.depth || mode.width != lastMode.width ||
                 mode.height != lastMode.height;
  if (changed) {
    lastMode = mode;
    if (__glDevice && __glDevice->invalidatePixelFormatList)
      __glDevice->invalidatePixelFormatList();
  }
  __wglUnlockMutex();
}

void PaletteChanged(HWND hwnd) {
  __wglLockMutex();
  WglDrawablePrivate *drawable = __wglFindDrawablePrivate(WGL_FIND_BY_WINDOW, hwnd);
  if (drawable && drawable->updateDrawablePalette) drawable->updateDrawablePalette(drawable);
  __wglUnlockMutex();
}

}  // namespace

LRESULT WINAPI __wglMonitorWindowChanges(int code, WPARAM wParam, LPARAM lParam) {
  const CWPSTRUCT *message = reinterpret_cast<const CWPSTRUCT *>(lParam);
  // Without the global lock the process is not attached: nothing to keep in
  // step.
  if (message && __wglLock.count > 0) {
    // A window's messages never name no window; a drawable whose window was
    // destroyed has none and must not be found by it.
    const bool window = message->hwnd != nullptr;
    switch (message->message) {
      case WM_DESTROY: if (window) WindowDestroyed(message->hwnd); break;
      case WM_WINDOWPOSCHANGED: if (window) WindowMoved(message->hwnd); break;
      case WM_DISPLAYCHANGE: DisplayChanged(message->wParam, message->lParam); break;
      case WM_PALETTECHANGED: if (window) PaletteChanged(message->hwnd); break;
      default: break;
    }
  }
  return CallNextHookEx(wgl::ThreadHook(), code, wParam, lParam);
}

void __wglResetDisplayMode(void) { lastMode = {}; }
