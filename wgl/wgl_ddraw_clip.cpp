// The clip list of a window drawn through the DirectDraw set: the window's
// visible rectangles from its clipper, within the core's clip rectangle,
// fetched again only when the windows moved or the core's rectangle changed.
#include "wgl/wgl_ddraw_kind.h"
#include "wgl/wgl_drawable_update.h"
#include "wgl/wgl_scoped_lock.h"

namespace {

LPDIRECTDRAWCLIPPER ClipperOf(const GlDrawableBuffer *front) {
  if (!__wglDDrawIsPrimary(front) || front->kindPrivate == nullptr) return nullptr;
  return static_cast<const WglDDrawPrimaryPrivate *>(front->kindPrivate)->clipper;
}

void Update(GlDrawable *view, LPDIRECTDRAWCLIPPER clipper) {
  WglDrawablePrivate *window = view->wglPrivate;
  BOOL changed = FALSE;
  HRESULT result = clipper->lpVtbl->IsClipListChanged(clipper, &changed);
  if (result != DD_OK) {
    __wglDDrawError("DDraw: UpdateClipList: IsClipListChanged", result);
    return;
  }
  if (!changed && !view->coreClipRectValid) return;
  RECT limit = {LONG(int64_t(view->coreClipRect.x0) + window->rect.left),
                LONG(int64_t(view->coreClipRect.y0) + window->rect.top),
                LONG(int64_t(view->coreClipRect.x1) + window->rect.left),
                LONG(int64_t(view->coreClipRect.y1) + window->rect.top)};
  DWORD size = 0;
  result = clipper->lpVtbl->GetClipList(clipper, &limit, nullptr, &size);
  if (result != DD_OK) {
    __wglDDrawError("DDraw: UpdateClipList: GetClipList (1)", result);
    return;
  }
  // A list without rectangles is fetched too: a window that shows nothing
  // gets an empty clip list, not the whole core rectangle.
  if (size >= sizeof(RGNDATAHEADER) && view->malloc && view->free) {
    RGNDATA *region = static_cast<RGNDATA *>(view->malloc(size));
    if (region == nullptr) return;
    result = clipper->lpVtbl->GetClipList(clipper, &limit, region, &size);
    if (result != DD_OK) {
      __wglDDrawError("DDraw: UpdateClipList: GetClipList (2)", result);
      view->free(region);
      return;
    }
    __wglUpdateOwnershipRegion(window, region);
    view->free(region);
  } else {
    __wglUpdateOwnershipRegion(window, nullptr);
  }
  view->coreClipRectValid = 0;
}

}  // namespace

void __wglDDrawUpdateClipList(GlDrawable *drawable) {
  if (drawable == nullptr || drawable->wglPrivate == nullptr) return;
  LPDIRECTDRAWCLIPPER clipper = ClipperOf(&drawable->front);
  if (clipper == nullptr) return;
  WglDrawableHold hold(drawable, "wglddraw");
  Update(drawable, clipper);
}
