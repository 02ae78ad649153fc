// Which pixels the colour stores may write.
#include "core/context.h"
#include "raster/s_color_pixel.h"
#include "raster/s_shader.h"

bool __glColorStoreOwns(GlContext *gc, const GlColorBuffer *cfb, int32_t x, int32_t y) {
  if (!(gc->polygon.shader.modeFlags & __GL_SHADE_FRONT_BUFFER) || cfb != gc->front) return true;
  return __glTestOwnership(gc, x, y);
}
