// The clip list: the window's visible rectangles in drawable coordinates,
// each kept inside the core clip rectangle, from which front-buffer drawing
// learns which pixels the window owns.
#include "wgl/wgl_alloc.h"
#include "wgl/wgl_drawable_update.h"

namespace {

int32_t Clamp(int64_t value, int32_t low, int32_t high) {
  if (value < low) return low;
  if (value > high) return high;
  return int32_t(value);
}

// A rectangle outside the core clip rectangle ends up on its border rather
// than being dropped, so the list keeps the region's count.
GlRect ClampToCore(const RECT &screen, int32_t x, int32_t y, const GlRect &core) {
  GlRect r;
  r.x0 = Clamp(int64_t(screen.left) - x, core.x0, core.x1);
  r.x1 = Clamp(int64_t(screen.right) - x, core.x0, core.x1);
  r.y0 = Clamp(int64_t(screen.top) - y, core.y0, core.y1);
  r.y1 = Clamp(int64_t(screen.bottom) - y, core.y0, core.y1);
  return r;
}

// The region's rectangles, never more than its byte size holds.
uint32_t RegionCount(const RGNDATA *region) {
  uint32_t count = region->rdh.nCount;
  if (region->rdh.nRgnSize != 0 && count > region->rdh.nRgnSize / sizeof(RECT))
    count = region->rdh.nRgnSize / sizeof(RECT);
  return count;
}

}  // namespace

void __wglUpdateOwnershipRegion(WglDrawablePrivate *drawable, const RGNDATA *region) {
  GlDrawable *view = &drawable->drawable;
  __wglFree(view->clipRects);
  view->clipRects = nullptr;
  view->clipCount = 0;
  const uint32_t count = region ? RegionCount(region) : 1;
  GlRect *rects = static_cast<GlRect *>(__wglCalloc(count ? count : 1, sizeof(GlRect)));
  // Without memory the list stays empty: the window owns no pixel until the
  // next update, which is safer than drawing over other windows.
  if (rects == nullptr) return;
  const GlRect &core = view->coreClipRect;
  if (region == nullptr) {
    rects[0] = core;
  } else if (count == 0) {
    rects[0] = GlRect{0, 0, 0, 0};
  } else {
    const RECT *screen = reinterpret_cast<const RECT *>(region->Buffer);
    for (uint32_t i = 0; i < count; i++)
      rects[i] = ClampToCore(screen[i], drawable->x, drawable->y, core);
  }
  view->clipRects = rects;
  view->clipCount = int32_t(count ? count : 1);
}
