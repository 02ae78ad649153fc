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
#include "wgl/wgl_scoped_lock.h"

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

void WindowDestroyed(HWND hwnd) {
  WglGlobalHold hold;
  WglDrawablePrivate *drawable = __wglFindDrawablePrivate(WGL_FIND_BY_WINDOW, hwnd);
  if (drawable == nullptr) return;
  WglDrawableMutex *mutex = drawable->drawable.mutex;
  WglDrawableHold held(&drawable->drawable, kLockFile);
  FlagContextsOf(hwnd, WGL_PENDING_DESTROY);
  // The window's own reference goes; contexts still bound keep the record.
  if (__wglDestroyDrawablePrivate(drawable)) {
    held.forgetTrace();
    held.unlock();
    __wglDestroyDrawableMutex(mutex);
  } else {
    drawable->hwnd = nullptr;
  }
}

void WindowMoved(HWND hwnd) {
  WglGlobalHold hold;
  WglDrawablePrivate *drawable = __wglFindDrawablePrivate(WGL_FIND_BY_WINDOW, hwnd);
  if (drawable == nullptr) return;
  WglDrawableHold held(&drawable->drawable, kLockFile);
  // Each bound context learns the new size at its next drawable lock.
  FlagContextsOf(hwnd, WGL_PENDING_SIZE);
  __wglUpdateDrawableBuffers(drawable);
}

void DisplayChanged(WPARAM wParam, LPARAM lParam) {
  DisplayMode mode = {static_cast<uint32_t>(wParam), LOWORD(lParam), HIWORD(lParam)};
  // Every window's owner thread hears of the change; the lock lets only the
  // first of them rebuild the list.
  WglGlobalHold hold;
  bool changed = mode.depth != lastMode.depth || mode.width != lastMode.width ||
                 mode.height != lastMode.height;
  if (changed) {
    lastMode = mode;
    if (__glDevice && __glDevice->invalidatePixelFormatList)
      __glDevice->invalidatePixelFormatList();
  }
}

void PaletteChanged(HWND hwnd) {
  WglGlobalHold hold;
  WglDrawablePrivate *drawable = __wglFindDrawablePrivate(WGL_FIND_BY_WINDOW, hwnd);
  if (drawable && drawable->updateDrawablePalette) drawable->updateDrawablePalette(drawable);
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
