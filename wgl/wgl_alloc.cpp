// The layer's allocators over the zero-filling global heap, and the imports
// record every context gets: the same allocators taking the context first,
// the message callbacks and the bound drawable's view and size.
#include "wgl/wgl_alloc.h"

#include <stdlib.h>
#include <string.h>

#include "core/context.h"
#include "platform/kernel.h"
#include "wgl/wgl_context.h"
#include "wgl/wgl_drawable.h"
#include "wgl/wgl_drawable_update.h"
#include "wgl/wgl_message.h"
#include "wgl/wgl_scoped_lock.h"

void *__wglMalloc(size_t size) {
  if (size == 0) return nullptr;
  return GlobalAlloc(GPTR, size);
}

void *__wglCalloc(size_t count, size_t size) {
  if (count == 0 || size == 0) return nullptr;
  // A product that wraps would hand out a block smaller than asked for.
  if (count > SIZE_MAX / size) return nullptr;
  return GlobalAlloc(GPTR, count * size);
}

void *__wglRealloc(void *block, size_t size) {
  if (size == 0) {
    if (block) GlobalFree(block);
    return nullptr;
  }
  void *grown = GlobalAlloc(GPTR, size);
  if (grown == nullptr) return nullptr;
  if (block) {
    size_t old = GlobalSize(block);
    memcpy(grown, block, old < size ? old : size);
    GlobalFree(block);
  }
  return grown;
}

void __wglFree(void *block) {
  if (block) GlobalFree(block);
}

namespace {

void *ImportMalloc(GlContext *, size_t size) { return __wglMalloc(size); }
void *ImportCalloc(GlContext *, size_t count, size_t size) { return __wglCalloc(count, size); }
void *ImportRealloc(GlContext *, void *block, size_t size) { return __wglRealloc(block, size); }
void ImportFree(GlContext *, void *block) { __wglFree(block); }

void ImportWarning(GlContext *, const char *text) { __wglError(text); }

void ImportFatal(GlContext *, const char *text) {
  __wglError(text);
  abort();
}

// The drawable the context's record is bound to, or none.
WglDrawablePrivate *BoundDrawable(GlContext *gc) {
  if (gc == nullptr) return nullptr;
  const WglContext *record = static_cast<const WglContext *>(gc->imports.other);
  return record ? record->drawable : nullptr;
}

GlDrawable *ImportGetDrawablePrivate(GlContext *gc) {
  WglDrawablePrivate *drawable = BoundDrawable(gc);
  return drawable ? &drawable->drawable : nullptr;
}

int ImportGetDrawableSize(GlContext *gc, int32_t *x, int32_t *y, uint32_t *width,
                          uint32_t *height) {
  WglDrawablePrivate *drawable = BoundDrawable(gc);
  if (drawable == nullptr) {
    *x = *y = 0;
    *width = *height = 0;
    return 0;
  }
  // The size the buffers were last given, not the window's size now: the
  // core must never address more than the buffers hold. The window hook and
  // binds on other threads update the same words under the drawable's mutex.
  WglDrawableHold hold(drawable->drawable.mutex);
  const GlDrawable *view = &drawable->drawable;
  *x = view->x;
  *y = view->y;
  *width = view->width > 0 ? uint32_t(view->width) : 0;
  *height = view->height > 0 ? uint32_t(view->height) : 0;
  return 1;
}

}  // namespace

namespace wgl {
GlImports imports = {
    ImportMalloc,  ImportCalloc,  ImportRealloc,           ImportFree,
    ImportWarning, ImportFatal,   ImportGetDrawablePrivate, ImportGetDrawableSize,
    nullptr,
};
}  // namespace wgl
