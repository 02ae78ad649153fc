// Which pixels the colour stores may write, and which the reads may fetch.
#include "core/context.h"
#include "core/drawable.h"
#include "raster/s_color_pixel.h"
#include "raster/s_shader.h"

bool __glColorStoreOwns(GlContext *gc, const GlColorBuffer *cfb, int32_t x, int32_t y) {
  if (!(gc->polygon.shader.modeFlags & __GL_SHADE_FRONT_BUFFER) || cfb != gc->front) return true;
  return __glTestOwnership(gc, x, y);
}

bool __glColorPixelExists(const GlContext *gc, const GlColorBuffer *cfb, int32_t x, int32_t y) {
  const GlDrawable *d = gc->drawablePrivate;
  if (cfb != gc->front || d == nullptr) return true;
  // Only a window reaching past a described surface's edge lacks pixels.
  const int64_t fw = d->front.width, fh = d->front.height;
  if (fw <= 0 || fh <= 0 ||
      (d->x >= 0 && d->y >= 0 && d->x + int64_t(d->width) <= fw && d->y + int64_t(d->height) <= fh))
    return true;
  const GlConstants &k = gc->constants;
  const int64_t column = int64_t(x) - k.viewportXAdjust;
  const int64_t row = k.yInverted ? int64_t(y) - k.viewportYAdjust
                                  : int64_t(k.height) - 1 - (int64_t(y) - k.viewportYAdjust);
  const int64_t sx = d->x + column, sy = d->y + row;
  return sx >= 0 && sy >= 0 && sx < fw && sy < fh;
}
