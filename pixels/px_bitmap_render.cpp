// The generic bitmap renderer, and the steps every bitmap renderer shares:
// the render modes, the one colour of all the bits, the origin and the
// raster move.
#include "core/context.h"
#include "core/gl_convert.h"
#include "geometry/s_feedback.h"
#include "pixels/px_bitmap.h"
#include "pixels/px_bitmap_start.h"
#include "pixels/px_span_procs.h"

namespace {

// Far beyond any drawable, yet far from overflowing when a bitmap's width
// or height is added.
constexpr int64_t kFarAway = int64_t(1) << 40;

// Toward zero, NaN and anything beyond kFarAway at the far end it lies on
// (NaN below), so that such a bitmap is clipped whole.
int64_t Coordinate(double v) {
  if (!(v == v)) return -kFarAway;
  const int64_t i = __glTruncateToInt64(v);
  return i < -kFarAway ? -kFarAway : i > kFarAway ? kFarAway : i;
}

int32_t RowDirection(const GlContext *gc) { return gc->constants.yInverted ? -1 : 1; }

}  // namespace

bool __glStartBitmap(GlContext *gc, const GlBitmap *bitmap, GlBitmapStart *start) {
  GlVertex &rp = gc->state.current.rasterPos;
  if (!gc->state.current.validRasterPos) return false;
  if (gc->renderMode != GL_RENDER) {
    if (gc->renderMode == GL_FEEDBACK) __glFeedbackBitmap(gc, &rp);
    __glMoveBitmapRaster(gc, bitmap);
    return false;
  }
  GlFragment &frag = start->frag;
  frag = GlFragment{};
  frag.color = __glRasterColor(gc);
  // One texel and one fog step for the whole bitmap.
  if ((gc->polygon.shader.modeFlags & __GL_SHADE_TEXTURE) && gc->procs.textureRaster) {
    const GLfloat invq = gc->constants.one / rp.texture.w;
    gc->procs.textureRaster(gc, &frag.color, rp.texture.x * invq, rp.texture.y * invq, 1.0f);
  }
  if ((gc->state.enables.general & __GL_FOG_ENABLE) && gc->procs.fogFragment)
    gc->procs.fogFragment(gc, &frag, rp.eye.z);
  frag.z = __glTruncateToUint(double(rp.window.z) * double(gc->constants.depthMax));
  start->ydir = RowDirection(gc);
  start->x = Coordinate(double(rp.window.x) - double(bitmap->xorig));
  start->y = Coordinate(double(rp.window.y) - double(bitmap->yorig) * start->ydir);
  return true;
}

void __glMoveBitmapRaster(GlContext *gc, const GlBitmap *bitmap) {
  GlVertex &rp = gc->state.current.rasterPos;
  rp.window.x += bitmap->xmove;
  rp.window.y += bitmap->ymove * GLfloat(RowDirection(gc));
}

// Every set bit inside the clip box becomes a fragment for the store.
void __glRenderBitmap(GlContext *gc, const GlBitmap *bitmap, const GLubyte *bits) {
  GlBitmapStart start;
  if (!__glStartBitmap(gc, bitmap, &start)) return;
  GlColorBuffer *cfb = gc->drawBuffer;
  if (bits && cfb && bitmap->width > 0 && bitmap->height > 0) {
    const int32_t *box = gc->transform.clipBox;
    const size_t stride = (size_t(bitmap->width) + 7) / 8;
    const uint32_t mask = gc->renderBufferMask;
    GlFragment frag = start.frag;
    gc->lockBuffers(gc, mask);
    int64_t y = start.y;
    for (int32_t row = 0; row < bitmap->height; row++, y += start.ydir) {
      if (y < box[1] || y >= box[3]) continue;
      const GLubyte *p = bits + size_t(row) * stride;
      int64_t x = start.x;
      for (int32_t col = 0; col < bitmap->width; col++, x++) {
        if (x < box[0] || x >= box[2] || !(p[col >> 3] & (0x80 >> (col & 7)))) continue;
        frag.x = int32_t(x), frag.y = int32_t(y);
        gc->procs.store(cfb, &frag);
      }
    }
    gc->unlockBuffers(gc, mask);
  }
  __glMoveBitmapRaster(gc, bitmap);
}
