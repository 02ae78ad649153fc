// The drawable's lock: a re-entrant mutex per drawable, taken around every
// change of the drawable's buffers and by the core around rendering. Taking
// it is also where window changes noticed by the window-system layer reach
// the context bound to the drawable.
#include "core/context.h"
#include "wgl/wgl_context.h"
#include "wgl/wgl_drawable.h"
#include "wgl/wgl_drawable_update.h"

WglDrawableMutex *__wglCreateDrawableMutex(void) {
  WglDrawableMutex *mutex =
      static_cast<WglDrawableMutex *>(GlobalAlloc(GPTR, sizeof(WglDrawableMutex)));
  if (mutex == nullptr) return nullptr;
  InitializeCriticalSection(&mutex->section);
  mutex->created = 1;
  return mutex;
}

void __wglDestroyDrawableMutex(WglDrawableMutex *mutex) {
  if (mutex == nullptr) return;
  DeleteCriticalSection(&mutex->section);
  GlobalFree(mutex);
}

void __wglLockDrawableMutex(WglDrawableMutex *mutex) {
  if (mutex == nullptr) return;
  EnterCriticalSection(&mutex->section);
  mutex->depth++;
  mutex->owner = GetCurrentThreadId();
}

void __wglUnlockDrawableMutex(WglDrawableMutex *mutex) {
  if (mutex == nullptr) return;
  if (--mutex->depth == 0) mutex->owner = 0;
  LeaveCriticalSection(&mutex->section);
}

namespace {

// The application may delete a memory DC, or select another bitmap and
// delete the first, while a context is current on it: before drawing, the
// buffers follow the bitmap selected now (none once the DC is gone).
bool BitmapChanged(GlDrawable *drawable) {
  WglDrawablePrivate *owner = drawable->wglPrivate;
  if (owner == nullptr || owner->hwnd != nullptr || drawable->modes == nullptr ||
      !drawable->modes->isBitmap || drawable->lockDepth != 0)
    return false;
  HGDIOBJ selected = GetObjectType(owner->hdc) == OBJ_MEMDC
                         ? GetCurrentObject(owner->hdc, OBJ_BITMAP)
                         : nullptr;
  if (selected == owner->bitmapTaken && (selected != nullptr || drawable->width == 0)) return false;
  const int32_t width = drawable->width, height = drawable->height;
  __wglUpdateDrawableBuffers(owner);
  return drawable->width != width || drawable->height != height;
}

// A window whose size could not be read at its last update is asked again
// before drawing, rather than drawing at the size it kept (none after a
// first update) until a window message comes.
bool WindowSizeReadAgain(GlDrawable *drawable) {
  WglDrawablePrivate *owner = drawable->wglPrivate;
  if (owner == nullptr || owner->hwnd == nullptr || !owner->sizeUnread || drawable->lockDepth != 0)
    return false;
  const int32_t width = drawable->width, height = drawable->height;
  __wglUpdateDrawableBuffers(owner);
  return drawable->width != width || drawable->height != height;
}

}  // namespace

void __wglGLLockDrawableMutex(GlDrawable *drawable, GlContext *gc) {
  __wglLockDrawableMutex(drawable->mutex);
  WglContext *wc = gc ? static_cast<WglContext *>(gc->imports.other) : nullptr;
  if (wc == nullptr) return;
  if (BitmapChanged(drawable) || WindowSizeReadAgain(drawable)) wc->flags |= WGL_PENDING_SIZE;
  // Each bit is cleared before its notification: the notification locks the
  // drawable again and must not deliver itself a second time.
  if (wc->flags & WGL_PENDING_SIZE) {
    wc->flags &= ~WGL_PENDING_SIZE;
    gc->exports.notifyChangeBufferSize(gc, drawable->x, drawable->y,
                                       static_cast<uint32_t>(drawable->width),
                                       static_cast<uint32_t>(drawable->height));
  }
  if (wc->flags & WGL_PENDING_DESTROY) {
    wc->flags &= ~WGL_PENDING_DESTROY;
    gc->exports.notifyDestroyBuffers(gc);
  }
}

void __wglGLUnlockDrawableMutex(GlDrawable *drawable) {
  __wglUnlockDrawableMutex(drawable->mutex);
}

void __glLockDrawable(GlContext *gc, int line, const char *file) {
  GlDrawable *drawable = gc->drawablePrivate;
  if (drawable == nullptr) return;
  drawable->lock(drawable, gc);
  // Deeper nesting than the trace holds still locks; it is only not traced.
  int32_t depth = drawable->lockDepth;
  if (depth >= 0 && depth < GL_LOCK_TRACE_DEPTH) {
    drawable->lockLines[depth] = line;
    drawable->lockFiles[depth] = file;
  }
  drawable->lockDepth = depth + 1;
}

void __glUnlockDrawable(GlContext *gc) {
  GlDrawable *drawable = gc->drawablePrivate;
  if (drawable == nullptr) return;
  int32_t depth = --drawable->lockDepth;
  if (depth >= 0 && depth < GL_LOCK_TRACE_DEPTH) {
    drawable->lockLines[depth] = 0;
    drawable->lockFiles[depth] = nullptr;
  }
  drawable->unlock(drawable);
}
