// Creating and deleting rendering contexts: the handles the loader keeps are
// small numbers from freeHandle, never reused.
#include <string.h>

#include "core/context.h"
#include "core/current.h"
#include "wgl/wgl_alloc.h"
#include "wgl/wgl_attach.h"
#include "wgl/wgl_context_list.h"
#include "wgl/wgl_drawable_list.h"
#include "wgl/wgl_entries.h"
#include "wgl/wgl_gdi.h"
#include "wgl/wgl_message.h"
#include "wgl/wgl_scoped_lock.h"

uint32_t freeHandle = 1;

namespace {

// The device context a context keeps for its life: the window's own for a
// window DC, a new compatible one for a memory DC; none for anything else.
HDC KeepDeviceContext(HDC hdc) {
  switch (GetObjectType(hdc)) {
    case OBJ_DC: {
      HWND hwnd = WindowFromDC(hdc);
      return hwnd ? GetDC(hwnd) : nullptr;
    }
    case OBJ_MEMDC:
      return CreateCompatibleDC(hdc);
    default:
      return nullptr;
  }
}

// Gives up on a context not yet listed: its record goes and the error is set.
DHGLRC GiveUp(WglContext *record, const char *name, DWORD code) {
  __wglFree(record);
  __wglSetSystemError(name, code);
  return 0;
}

// A deletion that fails: the context stays, and the error is set.
BOOL KeepContext(DWORD code) {
  __wglSetSystemError("wglDeleteContext", code);
  return FALSE;
}

}  // namespace

extern "C" DHGLRC GLENTRY DrvCreateContext(HDC hdc) { return DrvCreateLayerContext(hdc, 0); }

extern "C" DHGLRC GLENTRY DrvCreateLayerContext(HDC hdc, int layerPlane) {
  int pixelFormat = __wglGdiGetPixelFormat(hdc);
  if (pixelFormat == 0) return GiveUp(nullptr, "wglCreateLayerContext", ERROR_INVALID_PIXEL_FORMAT);
  WglContext *record = static_cast<WglContext *>(__wglCalloc(1, sizeof(WglContext)));
  if (record == nullptr) return GiveUp(nullptr, "wglCreateLayerContext", ERROR_NOT_ENOUGH_MEMORY);
  PIXELFORMATDESCRIPTOR *descriptor =
      reinterpret_cast<PIXELFORMATDESCRIPTOR *>(record->pixelFormatDescriptor);
  if (__wglGdiDescribePixelFormat(hdc, pixelFormat, sizeof *descriptor, descriptor) == 0)
    return GiveUp(record, "wglCreateLayerContext", ERROR_INVALID_PIXEL_FORMAT);
  descriptor->iLayerType = 0;
  // No pixel format has layer planes: only the main plane can be rendered to.
  if (layerPlane != 0) return GiveUp(record, "wglCreateLayerContext", ERROR_INVALID_PIXEL_FORMAT);
  // The drawable keeps the format it was given, even when a display change
  // has made its number name another one since.
  // (A memory DC has no window and is found by itself.)
  const HWND hwnd = WindowFromDC(hdc);
  {
    WglGlobalHold formatHold;
    if (const WglDrawablePrivate *drawable = __wglFindDrawablePrivate(hdc, hwnd)) {
      if (drawable->pixelFormat == pixelFormat)
        memcpy(descriptor, drawable->pixelFormatDescriptor, sizeof *descriptor);
    }
  }

  WglGlobalHold hold;
  record->current = 0;
  record->ownerThread = -1;
  record->pixelFormat = pixelFormat;
  record->bound = 0;
  record->flags = 0;
  record->created = 1;
  record->handle = freeHandle++;
  if (!__wglCreateHWContext(record))
    return GiveUp(record, "wglCreateContext", WGL_ERROR_DEVICE_REFUSED);
  record->hdc = KeepDeviceContext(hdc);
  if (record->hdc == nullptr) {
    // Nothing of the new context may outlive the failure.
    __wglDestroyHWContext(record);
    return GiveUp(record, "wglCreateContext", WGL_ERROR_DEVICE_REFUSED);
  }
  __wglAddContext(record);
  return record->handle;
}

extern "C" BOOL GLENTRY DrvDeleteContext(DHGLRC handle) {
  if (processTerminated) return TRUE;
  WglGlobalHold hold;
  WglContext *record = handle ? __wglFindWGLContext(uint32_t(handle)) : nullptr;
  if (record == nullptr || handle != record->handle) return KeepContext(ERROR_INVALID_HANDLE);
  if (record->current) {
    if (record->ownerThread != int32_t(GetCurrentThreadId()) || record->gc != __glGetTLSCXValue())
      return FALSE;
    // The caller's own current context is released first, or the thread
    // would go on drawing with a freed context.
    if (!DrvReleaseContext(handle)) return KeepContext(WGL_ERROR_DEVICE_REFUSED);
  }
  if (!__wglDestroyHWContext(record)) return KeepContext(WGL_ERROR_DEVICE_REFUSED);
  __wglGiveBackContextDC(record->hdc);
  __wglRemoveContext(record);
  // Out of the list: no other thread can reach the record any more.
  hold.unlock();
  __wglFree(record);
  return TRUE;
}
