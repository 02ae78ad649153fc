// Creating and deleting rendering contexts: the handles the loader keeps are
// small numbers from freeHandle, never reused.
#include <string.h>

#include "core/context.h"
#include "wgl/wgl_alloc.h"
#include "wgl/wgl_attach.h"
#include "wgl/wgl_context_list.h"
#include "wgl/wgl_current.h"
#include "wgl/wgl_drawable_list.h"
#include "wgl/wgl_entries.h"
#include "wgl/wgl_gdi.h"
#include "wgl/wgl_global_lock.h"
#include "wgl/wgl_message.h"

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

}  // namespace

extern "C" DHGLRC GLENTRY DrvCreateContext(HDC hdc) { return DrvCreateLayerContext(hdc, 0); }

extern "C" DHGLRC GLENTRY DrvCreateLayerContext(HDC hdc, int layerPlane) {
  int pixelFormat = __wglGdiGetPixelFormat(hdc);
  __wglGetCurrentGC();
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
  __wglLockMutex();
  if (const WglDrawablePrivate *drawable = __wglFindDrawablePrivate(hdc, hwnd)) {
    if (drawable->pixelFormat == pixelFormat)
      memcpy(descriptor, drawable->pixelFormatDescriptor, sizeof *descriptor);
  }
  __wglUnlockMutex();

  __wglLockMutex();
  record->current = 0;
  record->ownerThread = -1;
  record->pixelFormat = pixelFormat;
  record->bound = 0;
  record->flags = 0;
  record->created = 1;
  record->handle = freeHandle++;
  if (!__wglCreateHWContext(record)) {
    GiveUp(record, "wglCreateContext", WGL_ERROR_DEVICE_REFUSED);
    __wglUnlockMutex();
    return 0;
  }
  record->hdc = KeepDeviceContext(hdc);
  if (record->hdc == nullptr) {
    // Nothing of the new context may outlive the failure.
    __wglDestroyHWContext(record);
    GiveUp(record, "wglCreateContext", WGL_ERROR_DEVICE_REFUSED);
    __wglUnlockMutex();
    return 0;
  }
  __wglAddContext(record);
  __wglUnlockMutex();
  return record->handle;
}

extern "C" BOOL GLENTRY DrvDeleteContext(DHGLRC handle) {
  if (processTerminated) return TRUE;
  __wglLockMutex();
  WglContext *record = handle ? __wglFindWGLContext(uint32_t(handle)) : nullptr;
  if (record == nullptr || handle != record->handle) {
    __wglUnlockMutex();
    __wglSetSystemError("wglDeleteContext", ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (record->current) {
    if (record->ownerThread != int32_t(GetCurrentThreadId()) || record->gc != __glGetTLSCXValue()) {
      __wglUnlockMutex();
      return FALSE;
    }
    // The caller's own current context is released first, or the thread
    // would go on drawing with a freed context.
    if (!DrvReleaseContext(handle)) {
      __wglUnlockMutex();
      __wglSetSystemError("wglDeleteContext", WGL_ERROR_DEVICE_REFUSED);
      return FALSE;
    }
  }
  if (!__wglDestroyHWContext(record)) {
    __wglUnlockMutex();
    __wglSetSystemError("wglDeleteContext", WGL_ERROR_DEVICE_REFUSED);
    return FALSE;
  }
  __wglGiveBackContextDC(record->hdc);
  __wglRemoveContext(record);
  __wglUnlockMutex();
  __wglFree(record);
  return TRUE;
}
