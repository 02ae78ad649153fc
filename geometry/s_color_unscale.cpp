// Scaled colours back to the API forms, for queries.
#include <math.h>

#include "core/context.h"
#include "core/s_setters.h"
#include "geometry/s_color.h"

namespace {

// floor(c / s x uIntMax / 2) as a 32-bit integer. The product is formed in
// double: 255 / 255 through the single reciprocal is slightly above 1, and
// the query must see that. Colours beyond the scale (lights may be brighter
// than full intensity) saturate; a value that is not a number gives 0.
GLint ToInt(const GlContext *gc, GLfloat c, GLfloat oneOverScale) {
  const GlConstants &k = gc->constants;
  return __glTruncateToInt(floor(double(c) * oneOverScale * k.uIntMax * k.half));
}

}  // namespace

void __glUnScaleColorf(GlContext *gc, GlColor *dst, const GlColor *src) {
  const GlConstants &k = gc->constants;
  GlColor c = *src;
  dst->r = c.r * k.oneOverRedScale;
  dst->g = c.g * k.oneOverGreenScale;
  dst->b = c.b * k.oneOverBlueScale;
  dst->a = c.a * k.oneOverAlphaScale;
}

void __glUnScaleColori(GlContext *gc, GLint dst[4], const GlColor *src) {
  const GlConstants &k = gc->constants;
  GlColor c = *src;
  dst[0] = ToInt(gc, c.r, k.oneOverRedScale);
  dst[1] = ToInt(gc, c.g, k.oneOverGreenScale);
  dst[2] = ToInt(gc, c.b, k.oneOverBlueScale);
  dst[3] = ToInt(gc, c.a, k.oneOverAlphaScale);
}
