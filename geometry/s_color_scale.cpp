// Colours into the scaled form the rasterizer works in.
#include "geometry/s_color.h"

#include "core/context.h"

void __glScaleColorf(GlContext *gc, GlColor *dst, const GlColor *src) {
  const GlConstants &k = gc->constants;
  // Read everything first: dst may be src.
  GlColor c = *src;
  dst->r = c.r * k.redScale;
  dst->g = c.g * k.greenScale;
  dst->b = c.b * k.blueScale;
  dst->a = c.a * k.alphaScale;
}
