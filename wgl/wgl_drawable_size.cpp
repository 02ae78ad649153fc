// A drawable's geometry: its window's client area on the screen, or the
// bitmap selected in its memory DC, and bringing the buffers to that size.
#include <stdlib.h>

#include "core/gl_assert.h"
#include "wgl/wgl_drawable_update.h"
#include "wgl/wgl_scoped_lock.h"

namespace {

void SetSize(WglDrawablePrivate *drawable, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) width = height = 0;
  drawable->width = width;
  drawable->height = height;
  if (width == 0) {
    drawable->rect = RECT{0, 0, 0, 0};
  } else {
    drawable->rect = RECT{drawable->x, drawable->y, drawable->x + width, drawable->y + height};
  }
}

void WindowSize(WglDrawablePrivate *drawable) {
  RECT client;
  POINT origin = {0, 0};
  if (!GetClientRect(drawable->hwnd, &client) || !ClientToScreen(drawable->hwnd, &origin)) {
    // A window that went away while the record survives has nothing to draw.
    // A query that failed on a live window says nothing about its size: the
    // last one stays, with the buffers that fit it, and the next drawing
    // lock asks again (a first update has no size to keep).
    drawable->sizeUnread = IsWindow(drawable->hwnd) ? 1 : 0;
    if (!drawable->sizeUnread) SetSize(drawable, 0, 0);
    return;
  }
  drawable->sizeUnread = 0;
  __GL_ASSERT(client.left == 0, "wglPriv->rect.left == 0", "wglcomm");
  __GL_ASSERT(client.top == 0, "wglPriv->rect.top == 0", "wglcomm");
  drawable->x = origin.x;
  drawable->y = origin.y;
  SetSize(drawable, client.right - client.left, client.bottom - client.top);
}

// A memory DC's drawable is as large as the bitmap selected in it.
void BitmapSize(WglDrawablePrivate *drawable) {
  drawable->x = drawable->y = 0;
  BITMAP bitmap;
  HGDIOBJ selected = GetCurrentObject(drawable->hdc, OBJ_BITMAP);
  drawable->bitmap = selected;
  if (selected == nullptr || GetObject(selected, sizeof bitmap, &bitmap) < int(sizeof bitmap)) {
    SetSize(drawable, 0, 0);
    return;
  }
  SetSize(drawable, bitmap.bmWidth, labs(bitmap.bmHeight));
}

bool UpdateLocked(WglDrawablePrivate *drawable) {
  __wglUpdateDrawableSize(drawable);
  GlDrawable *view = &drawable->drawable;
  // A moved window keeps its buffers, but the core learns where it is now.
  view->x = drawable->x;
  view->y = drawable->y;
  // Another bitmap of the same size is other memory: its buffers are made
  // again too.
  if (view->width == drawable->width && view->height == drawable->height &&
      (drawable->width != 0 || drawable->height != 0) && drawable->bitmap == drawable->bitmapTaken)
    return true;
  drawable->bitmapTaken = drawable->bitmap;
  view->width = drawable->width;
  view->height = drawable->height;
  // The core draws into the whole window (the scissor is its own business):
  // the clip list is fetched again for the new size.
  __wglSetCoreClipRect(view, 0, 0, drawable->width, drawable->height);
  if (__wglUpdateBuffers(view, drawable->x, drawable->y, drawable->width, drawable->height))
    return true;
  // Some buffer could not be had at this size: the core sees an empty
  // drawable, so it draws into none of them, and the next update asks again.
  view->width = view->height = 0;
  __wglSetCoreClipRect(view, 0, 0, 0, 0);
  return false;
}

}  // namespace

void __wglUpdateDrawableSize(WglDrawablePrivate *drawable) {
  const GlModes *modes = drawable->drawable.modes;
  if (drawable->hwnd) {
    WindowSize(drawable);
  } else if (modes && modes->isBitmap) {
    BitmapSize(drawable);
  } else {
    // A destroyed window's record keeps its DC, whose stock bitmap is not
    // the window's: nothing to draw.
    drawable->x = drawable->y = 0;
    SetSize(drawable, 0, 0);
  }
}

// Under the drawable's mutex: a context drawing on another thread reads the
// same words through its imports.
bool __wglUpdateDrawableBuffers(WglDrawablePrivate *drawable) {
  WglDrawableHold hold(drawable->drawable.mutex);
  const bool updated = UpdateLocked(drawable);
  return updated;
}
