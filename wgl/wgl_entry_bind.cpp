// Binding a context to the calling thread and a drawable, and releasing it.
// Every change runs under the global lock.
#include <string.h>

#include "core/context.h"
#include "core/current.h"
#include "core/dispatch.h"
#include "wgl/wgl_attach.h"
#include "wgl/wgl_context_list.h"
#include "wgl/wgl_drawable_list.h"
#include "wgl/wgl_drawable_update.h"
#include "wgl/wgl_entries.h"
#include "wgl/wgl_message.h"
#include "wgl/wgl_scoped_lock.h"

namespace {

// A binding that fails before anything changed: the error is set.
const GlDispatchState *Refuse(DWORD code) {
  __wglSetSystemError("wglDrvCliSetContext", code);
  return nullptr;
}

}  // namespace

extern "C" const GlDispatchState *GLENTRY DrvSetContext(HDC hdc, DHGLRC handle,
                                                       VlxSetProcTableProc setProcTable) {
  GlContext *current = __wglGetCurrentGC();
  // The record is read under the lock: another thread may be deleting it.
  WglContext *record;
  bool bound;
  {
    WglGlobalHold hold;
    record = __wglFindWGLContext(uint32_t(handle));
    bound = record && record->hdc == hdc && record->gc == current;
  }
  if (bound) return __glGetCurrentDispatch();

  HWND hwnd = nullptr;
  HGDIOBJ bitmap = nullptr;
  switch (GetObjectType(hdc)) {
    case OBJ_DC:
      hwnd = WindowFromDC(hdc);
      break;
    case OBJ_MEMDC:
      bitmap = GetCurrentObject(hdc, OBJ_BITMAP);
      break;
    default:
      return nullptr;
  }

  WglGlobalHold hold;
  WglDrawablePrivate *drawable = nullptr;
  if (handle != 0) {
    // Looked up again under the lock: the record may have gone meanwhile.
    record = __wglFindWGLContext(uint32_t(handle));
    if (record == nullptr) return Refuse(ERROR_INVALID_HANDLE);
    if (hwnd == nullptr && bitmap == nullptr) return Refuse(ERROR_INVALID_HANDLE);
    if (record->current && record->ownerThread != int32_t(GetCurrentThreadId()))
      return Refuse(ERROR_INVALID_PARAMETER);
    drawable = __wglFindDrawablePrivate(hdc, hwnd);
    if (drawable == nullptr) {
      drawable = __wglCreateDrawablePrivate(hdc, hwnd, record->modes);
      if (drawable == nullptr) return Refuse(ERROR_INVALID_HANDLE);
      // A new record has no pixel format yet, so the binding fails; the
      // record goes again, or the format set later would find it holding
      // this context's modes and buffers instead of its own.
      __wglReleaseDrawable(drawable);
      return Refuse(ERROR_INVALID_PIXEL_FORMAT);
    }
    // The same number is not enough: a display change may have renumbered
    // the list between the format's setting and the context's creation.
    if (drawable->pixelFormat != record->pixelFormat ||
        memcmp(drawable->pixelFormatDescriptor, record->pixelFormatDescriptor,
               sizeof record->pixelFormatDescriptor) != 0)
      return Refuse(ERROR_INVALID_PIXEL_FORMAT);
    // Another context current on this thread is released first, so that it
    // does not stay marked current with its drawable held.
    if (current != __wglInvalidGC && current != record->gc) {
      const WglContext *held = static_cast<const WglContext *>(current->imports.other);
      if (!DrvReleaseContext(held ? held->handle : 0)) return nullptr;
      current = __wglInvalidGC;
    }
  }

  WglContext *target = record ? record : &glrcListEnd;
  target->setProcTable = setProcTable;

  if (handle != 0) {
    // A rebind of the context current here keeps its earlier drawable
    // reference until the new binding holds.
    WglDrawablePrivate *previous = record->drawable;
    drawable->refcount++;
    record->drawable = drawable;
    record->flags &= ~WGL_PENDING_SIZE;
    __wglUpdateDrawableBuffers(drawable);
    if (drawable->drawable.updateClipList) drawable->drawable.updateClipList(&drawable->drawable);
    GlContext *gc = record->gc;
    if (!gc->exports.makeCurrent(gc)) {
      // Nothing of the failed binding stays: its drawable reference goes
      // and the thread keeps what it had.
      record->drawable = previous;
      __wglReleaseDrawable(drawable);
      __wglSetCurrentGC(current);
      return nullptr;
    }
    __wglSetCurrentGC(gc);
    record->current = 1;
    record->ownerThread = int32_t(GetCurrentThreadId());
    record->hwnd = hwnd;
    record->bound = 1;
    record->flags |= WGL_PENDING_SIZE;
    __wglReleaseDrawable(previous);
  } else if (current != __wglInvalidGC) {
    __glCoreNopDispatch();
  }
  // The placeholder's table is the constant no-op table already: threads
  // without a context share it and never rewrite it.
  return __glGetCurrentDispatch();
}

extern "C" BOOL GLENTRY DrvReleaseContext(DHGLRC handle) {
  WglGlobalHold hold;
  GlContext *current = __glGetTLSCXValue();
  if (current != __wglInvalidGC) {
    WglContext *record = __wglFindWGLContext(uint32_t(handle));
    if (record) record->flags &= ~WGL_PENDING_SIZE;
    if (current->exports.loseCurrent && !current->exports.loseCurrent(current)) return FALSE;
    WglContext *mine = static_cast<WglContext *>(current->imports.other);
    if (mine) {
      __wglReleaseDrawable(mine->drawable);
      mine->drawable = nullptr;
      mine->current = 0;
      mine->ownerThread = -1;
    }
    if (record) record->hwnd = nullptr;
    __wglSetCurrentGC(__wglInvalidGC);
  }
  return TRUE;
}
