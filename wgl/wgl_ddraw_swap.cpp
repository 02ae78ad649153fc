// Showing the back buffer: one blit from the back surface to the window's
// rectangle on the screen, or, while the back buffer lives in plain memory, a
// copy of the window's visible rectangles.
#include <string.h>

#include "wgl/wgl_ddraw_kind.h"
#include "wgl/wgl_drawable_update.h"
#include "wgl/wgl_scoped_lock.h"

namespace {

RECT Intersect(const RECT &a, const RECT &b) {
  RECT r = {a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
            a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
  return r;
}

bool Empty(const RECT &r) { return r.right <= r.left || r.bottom <= r.top; }

// The bounds of the swap hints that fall on the back surface, each clipped
// to it first: a hint outside the window neither fails the blit nor widens
// it.
RECT HintBounds(const WglDrawablePrivate *drawable, const RECT &surface) {
  RECT bounds = {0, 0, 0, 0};
  const uint32_t count = __wglSwapHintCount(drawable);
  const RGNDATA *hints = drawable->swapHints;
  if (hints == nullptr) return bounds;
  for (uint32_t i = 0; i < count && i < drawable->swapHintCapacity; ++i) {
    RECT hint;
    memcpy(&hint, hints->Buffer + i * sizeof(RECT), sizeof hint);
    RECT clipped = Intersect(hint, surface);
    if (Empty(clipped)) continue;
    if (Empty(bounds)) {
      bounds = clipped;
      continue;
    }
    if (clipped.left < bounds.left) bounds.left = clipped.left;
    if (clipped.top < bounds.top) bounds.top = clipped.top;
    if (clipped.right > bounds.right) bounds.right = clipped.right;
    if (clipped.bottom > bounds.bottom) bounds.bottom = clipped.bottom;
  }
  return bounds;
}

// One blit of the back surface (or the hints' bounds) to the window.
// `reported`: the failure was reported here already.
HRESULT BlitOnce(WglDrawablePrivate *drawable, RECT source, bool *reported) {
  *reported = false;
  GlDrawable *view = &drawable->drawable;
  GlDrawableBuffer *front = &view->front, *back = &view->back;
  __wglDDrawFollowPrimary(front);
  LPDIRECTDRAWSURFACE screen = static_cast<LPDIRECTDRAWSURFACE>(front->handle);
  LPDIRECTDRAWSURFACE surface = static_cast<LPDIRECTDRAWSURFACE>(back->handle);
  if (screen == nullptr || surface == nullptr || !__wglDDrawHasSurface(back))
    return DDERR_INVALIDOBJECT;
  const WglDDrawPrimaryPrivate *state =
      __wglDDrawIsPrimary(front) ? static_cast<WglDDrawPrimaryPrivate *>(front->kindPrivate)
                                 : nullptr;
  if (state && state->clipper) {
    HRESULT result = screen->lpVtbl->SetClipper(screen, state->clipper);
    if (result != DD_OK) {
      // The clipper left on the screen is another window's: a blit
      // through it would paint over that window.
      __wglDDrawError("Update: SetClipper", result);
      *reported = true;
      return result;
    }
    if (view->updateClipList) view->updateClipList(view);
  }
  // Nothing of the back buffer to show: done.
  if (Empty(source)) return DD_OK;
  RECT dest = {source.left + drawable->rect.left, source.top + drawable->rect.top,
               source.right + drawable->rect.left, source.bottom + drawable->rect.top};
  return screen->lpVtbl->Blt(screen, &dest, surface, &source, DDBLT_WAIT, nullptr);
}

BOOL Blit(WglDrawablePrivate *drawable) {
  GlDrawable *view = &drawable->drawable;
  GlDrawableBuffer *front = &view->front, *back = &view->back;
  // A screen that could not be made again at a display change is tried
  // again here too: a window that only swaps never locks its front.
  __wglDDrawFollowPrimary(front);
  if (front->handle == nullptr) __wglDDrawRestoreSurface(front, drawable);
  if (front->handle == nullptr || back->handle == nullptr || !__wglDDrawHasSurface(back))
    return FALSE;
  const RECT whole = {0, 0, LONG(back->width), LONG(back->height)};
  RECT source = whole;
  if (__wglSwapHintCount(drawable) != 0) {
    source = HintBounds(drawable, whole);
    __wglClearSwapHints(drawable);
  }
  bool reported;
  HRESULT result = BlitOnce(drawable, source, &reported);
  if (result == DDERR_SURFACELOST) {
    // A lost back surface lost the frame with it. When only the screen was
    // lost (the back surface came back at the lock, before the frame was
    // drawn), the frame is still there and is shown once the screen is back.
    LPDIRECTDRAWSURFACE surface = static_cast<LPDIRECTDRAWSURFACE>(back->handle);
    const bool frameLost = surface->lpVtbl->IsLost(surface) == DDERR_SURFACELOST;
    __wglDDrawRestoreSurface(front, drawable);
    __wglDDrawRestoreSurface(back, drawable);
    if (frameLost) return FALSE;
    result = BlitOnce(drawable, source, &reported);
    if (result == DDERR_SURFACELOST) return FALSE;
  }
  if (result == DD_OK) return TRUE;
  if (reported) return FALSE;
  __wglDDrawError("DDraw: SwapBuffers: Blt", result);
  return FALSE;
}

// One row: 16 bytes at a time when everything is word aligned, else 4, and
// the rest byte by byte.
void CopyRow(uint8_t *to, const uint8_t *from, size_t bytes, bool wide) {
  if (wide) {
    for (; bytes >= 16; bytes -= 16, to += 16, from += 16) memcpy(to, from, 16);
  } else {
    for (; bytes >= 4; bytes -= 4, to += 4, from += 4) memcpy(to, from, 4);
  }
  for (; bytes > 0; --bytes) *to++ = *from++;
}

void CopyRect(GlDrawableBuffer *front, GlDrawableBuffer *back, const RECT &r) {
  const int32_t size = int32_t(front->elementSize);
  uint8_t *to = front->base + r.top * front->pitchBytes + r.left * size;
  const uint8_t *from = back->base + r.top * back->pitchBytes + r.left * size;
  const size_t bytes = size_t(r.right - r.left) * size;
  const bool wide = ((reinterpret_cast<uintptr_t>(to) | reinterpret_cast<uintptr_t>(from) |
                      uint32_t(front->pitchBytes) | uint32_t(back->pitchBytes)) &
                     3) == 0;
  for (LONG y = r.top; y < r.bottom; ++y) {
    CopyRow(to, from, bytes, wide);
    to += front->pitchBytes;
    from += back->pitchBytes;
  }
}

void Copy(WglDrawablePrivate *drawable) {
  GlDrawable *view = &drawable->drawable;
  GlDrawableBuffer *front = &view->front, *back = &view->back;
  if (back->width == 0 || back->height == 0) return;
  if (front->lock) front->lock(front, view);
  if (back->lock) back->lock(back, view);
  // Both must be there, with pixels of one size.
  if (front->base && back->base && front->elementSize == back->elementSize) {
    RECT limit = {0, 0, LONG(back->width), LONG(back->height)};
    if (__wglDDrawIsPrimary(front) && front->kindPrivate)
      limit = Intersect(limit, static_cast<WglDDrawPrimaryPrivate *>(front->kindPrivate)->visible);
    else
      limit = Intersect(limit, RECT{0, 0, LONG(front->width), LONG(front->height)});
    for (int32_t i = 0; i < view->clipCount && view->clipRects; ++i) {
      const GlRect &c = view->clipRects[i];
      RECT r = Intersect(RECT{c.x0, c.y0, c.x1, c.y1}, limit);
      if (!Empty(r)) CopyRect(front, back, r);
    }
  }
  if (back->unlock) back->unlock(back, view);
  if (front->unlock) front->unlock(front, view);
}

}  // namespace

BOOL __wglDDrawDDrawSwapBuffers(WglDrawablePrivate *drawable) {
  if (drawable == nullptr) return FALSE;
  WglDrawableHold hold(&drawable->drawable, "wglddraw");
  BOOL shown = Blit(drawable);
  return shown;
}

BOOL __wglDDrawMemSwapBuffers(WglDrawablePrivate *drawable) {
  if (drawable == nullptr) return FALSE;
  WglDrawableHold hold(&drawable->drawable, "wglddraw");
  Copy(drawable);
  return TRUE;
}
