// The back end's viewport and scissor operations, and the check whether the
// viewport lies inside the clip box, which lets the pipeline skip the
// window-space clip.
#include "core/context.h"
#include "core/s_backend.h"
#include "core/s_entry.h"
#include "geometry/s_xform.h"
#include "raster/s_buffers.h"

namespace core {

namespace {
// The biased range the fast set-ups take rows and columns from: x + 0.5 and
// y + 0.5 of every clipped vertex stay in [4096, 8192).
constexpr int64_t kFastLow = 4096, kFastHigh = 8191;
}  // namespace

GLbool8 ApplyViewport(GlContext *gc) {
  if (!__glFindWindowSize(gc)) return 0;
  __glUpdateViewport(gc);
  CheckViewport(gc);
  return 1;
}

GLbool8 ApplyScissor(GlContext *gc) {
  if (!__glFindWindowSize(gc)) return 0;
  CheckViewport(gc);
  return 1;
}

void CheckViewport(GlContext *gc) {
  const GlViewport &vp = gc->state.viewport;
  const GlConstants &c = gc->constants;
  const int32_t *box = gc->transform.clipBox;
  // The clip box's rows run top-down on an inverted drawable: the viewport's
  // rows are flipped the same way before they are compared. Sums in 64 bits:
  // the viewport origin is not clamped.
  int64_t left = int64_t(vp.x) + c.viewportXAdjust;
  int64_t right = left + vp.width;
  int64_t y0 = vp.y, y1 = int64_t(vp.y) + vp.height;
  if (c.yInverted) {
    int64_t top = int64_t(c.height) - y1;
    y1 = int64_t(c.height) - y0;
    y0 = top;
  }
  y0 += c.viewportYAdjust;
  y1 += c.viewportYAdjust;
  uint32_t inside = left >= box[0] && y0 >= box[1] && right <= box[2] && y1 <= box[3];
  uint32_t inRange = left >= kFastLow && y0 >= kFastLow && right <= kFastHigh && y1 <= kFastHigh;
  if (inside == gc->transform.viewportInside && inRange == gc->transform.viewportInRange) return;
  gc->transform.viewportInside = inside;
  gc->transform.viewportInRange = inRange;
  const bool inBegin = gc->beginMode == __GL_IN_BEGIN;
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
  if (inBegin) {
    // The primitive under way goes on with procedures that match the new
    // containment.
    gc->procs.validate(gc);
    gc->beginMode = __GL_IN_BEGIN;
  }
}

}  // namespace core
