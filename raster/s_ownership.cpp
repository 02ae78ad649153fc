// Which window pixels a partly covered window owns.
#include "core/context.h"
#include "core/drawable.h"
#include "raster/s_buffers.h"

GLbool8 __glTestOwnership(GlContext *gc, int32_t x, int32_t y) {
  const GlDrawable *drawable = gc->drawablePrivate;
  if (drawable == nullptr || drawable->clipRects == nullptr) return 0;
  x -= gc->constants.viewportXAdjust;
  y -= gc->constants.viewportYAdjust;
  for (int32_t i = 0; i < drawable->clipCount; i++) {
    const GlRect &r = drawable->clipRects[i];
    if (r.x0 <= x && x < r.x1 && r.y0 <= y && y < r.y1) return 1;
  }
  return 0;
}
