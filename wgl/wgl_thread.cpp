// Thread attachment: each attached thread has an area on the process's ring
// with its window-message hook. A thread that goes away with a context still
// current lets go of it here, whatever the core says, so that no context
// stays current on a thread that no longer exists.
#include "core/context.h"
#include "core/current.h"
#include "core/device.h"
#include "raster/s_buffers.h"
#include "wgl/wgl_context_list.h"
#include "wgl/wgl_drawable_list.h"
#include "wgl/wgl_global_lock.h"
#include "wgl/wgl_hook.h"
#include "wgl/wgl_message.h"
#include "wgl/wgl_scoped_lock.h"
#include "wgl/wgl_thread_list.h"

namespace wgl {

WglThreadArea threadList;

namespace {

WglThreadArea *CurrentArea() {
  if (__wglTLSIndex == TLS_OUT_OF_INDEXES) return nullptr;
  return static_cast<WglThreadArea *>(TlsGetValue(__wglTLSIndex));
}

bool ProcessAttached() { return threadList.next != nullptr && __wglTLSIndex != TLS_OUT_OF_INDEXES; }

// Unlinks the area; false when it is not on the ring.
bool RemoveArea(WglThreadArea *area) {
  if (area == nullptr || threadList.next == nullptr) return false;
  bool found = false;
  WglGlobalHold hold;
  for (WglThreadArea *p = &threadList; p->next != &threadList; p = p->next) {
    if (p->next != area) continue;
    p->next = area->next;
    area->next = nullptr;
    found = true;
    break;
  }
  return found;
}

void InvalidatePixelFormats() {
  if (__glDevice && __glDevice->invalidatePixelFormatList) __glDevice->invalidatePixelFormatList();
}

}  // namespace

void openThreadList(void) { threadList.next = &threadList; }

WglThreadArea *takeFirstThreadArea(void) {
  if (threadList.next == nullptr) return nullptr;
  WglGlobalHold hold;
  WglThreadArea *area = threadList.next;
  if (area == &threadList) {
    area = nullptr;
  } else {
    threadList.next = area->next;
    area->next = nullptr;
  }
  return area;
}

void releaseCurrentContext(void) {
  GlContext *gc = __glGetTLSCXValue();
  // Without the lock the process holds no contexts: a slot that still names
  // one names a context that is gone.
  if (gc == nullptr || gc == __wglInvalidGC || __wglLock.count <= 0) {
    __glSetTLSCXValue(__wglInvalidGC);
    return;
  }
  WglGlobalHold hold;
  if (WglContext *record = __wglFindWGLGLcontext(gc)) {
    GLbool8 lost = gc->exports.loseCurrent ? gc->exports.loseCurrent(gc) : 1;
    // The core keeps its hold on the drawable while it refuses (selection,
    // feedback, inside glBegin); the drawable may be freed below, so its
    // buffers are let go all the same.
    if (!lost && gc->drawablePrivate) __glLoseCurrentBuffers(gc);
    WglDrawablePrivate *drawable = record->drawable;
    record->flags &= ~WGL_PENDING_SIZE;
    record->drawable = nullptr;
    record->current = 0;
    record->ownerThread = -1;
    record->hwnd = nullptr;
    __wglReleaseDrawable(drawable);
  }
  __glSetTLSCXValue(__wglInvalidGC);
}

BOOL attachThread(HINSTANCE) {
  if (!ProcessAttached()) return FALSE;
  DWORD self = GetCurrentThreadId();
  WglThreadArea *area = CurrentArea();
  const bool newArea = area == nullptr;
  if (newArea) {
    area = static_cast<WglThreadArea *>(GlobalAlloc(GPTR, sizeof(WglThreadArea)));
    if (area == nullptr) {
      __wglSetSystemError("attachThread", ERROR_NOT_ENOUGH_MEMORY);
      return FALSE;
    }
    {
      WglGlobalHold hold;
      area->next = threadList.next;
      threadList.next = area;
    }
    if (!TlsSetValue(__wglTLSIndex, area)) {
      RemoveArea(area);
      GlobalFree(area);
      __wglSetSystemError("attachThread", ERROR_NOT_ENOUGH_MEMORY);
      return FALSE;
    }
  }
  // The slot is never empty; this only guards against a null stored by hand.
  if (__glGetTLSCXValue() == nullptr) __glSetTLSCXValue(__wglInvalidGC);

  if (__glDevice && __glDevice->threadAttach && !__glDevice->threadAttach(self, __glDevice)) {
    // Only what this call set up is undone: the device refused the thread,
    // so it is not asked to detach it.
    if (newArea) {
      RemoveArea(area);
      TlsSetValue(__wglTLSIndex, nullptr);
      GlobalFree(area);
    }
    return FALSE;
  }
  InvalidatePixelFormats();

  if (area->hook == nullptr) {
    HHOOK hook =
        SetWindowsHookExA(WH_CALLWNDPROC, __wglMonitorWindowChanges, hInstanceOpenGL, self);
    if (hook == nullptr) {
      __wglSetSystemError("attachMessageHook", ERROR_DLL_INIT_FAILED);
      return FALSE;
    }
    area->hook = hook;
  }
  return TRUE;
}

BOOL detachThread(HINSTANCE) {
  if (!ProcessAttached()) {
    __glSetTLSCXValue(__wglInvalidGC);
    return TRUE;
  }
  // A thread without an area on the ring never finished attaching (no
  // memory for the area, or the device refused it): the device has nothing
  // of it to detach, and an area off the ring is not ours to free.
  WglThreadArea *area = CurrentArea();
  if (!RemoveArea(area)) {
    releaseCurrentContext();
    return TRUE;
  }
  return detachThreadArea(area) ? TRUE : FALSE;
}

BOOL detachThreadArea(WglThreadArea *area) {
  releaseCurrentContext();
  InvalidatePixelFormats();
  BOOL result = TRUE;
  // A device that refuses still sees the layer let go of the thread: the
  // thread ends (or the library goes) either way, and a hook left behind
  // would call into a library that is no longer there.
  if (__glDevice && __glDevice->threadDetach &&
      !__glDevice->threadDetach(GetCurrentThreadId(), __glDevice))
    result = FALSE;
  if (area) {
    if (area->hook && !UnhookWindowsHookEx(area->hook)) {
      __wglSetSystemError("dettachMessageHook", ERROR_DLL_INIT_FAILED);
      result = FALSE;
    }
    GlobalFree(area);
  }
  if (__wglTLSIndex != TLS_OUT_OF_INDEXES) TlsSetValue(__wglTLSIndex, nullptr);
  return result;
}

HHOOK ThreadHook(void) {
  WglThreadArea *area = CurrentArea();
  return area ? area->hook : nullptr;
}

}  // namespace wgl

GlContext *__wglGetCurrentGC(void) {
  GlContext *gc = __glGetTLSCXValue();
  return gc ? gc : __wglInvalidGC;
}

void __wglSetCurrentGC(GlContext *gc) { __glSetTLSCXValue(gc ? gc : __wglInvalidGC); }
