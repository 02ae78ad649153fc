// Float colours clamped to their range, scaled or not. Every clamp tests the
// lower bound first and keeps only values that pass it, so a value that is
// not a number becomes 0 rather than travelling on into the rasterizer.
#include "core/context.h"
#include "geometry/s_color.h"

namespace {

// Below 0 -> 0, above top -> top.
GLfloat Clamp(GLfloat c, GLfloat top) {
  if (!(c >= 0.0f)) return 0.0f;
  return c > top ? top : c;
}

// 0 or below -> 0, top or above -> top.
GLfloat ClampInclusive(GLfloat c, GLfloat top) {
  if (!(c > 0.0f)) return 0.0f;
  return c >= top ? top : c;
}

}  // namespace

void __glClampAndScaleColorf(GlContext *gc, GlColor *dst, const GlColor *src) {
  const GlConstants &k = gc->constants;
  GlColor c = *src;
  dst->r = Clamp(c.r * k.redScale, k.redScale);
  dst->g = Clamp(c.g * k.greenScale, k.greenScale);
  dst->b = Clamp(c.b * k.blueScale, k.blueScale);
  dst->a = Clamp(c.a * k.alphaScale, k.alphaScale);
}

void __glClampColorf(GlContext *gc, GlColor *dst, const GlColor *src) {
  const GLfloat one = gc->constants.one;
  GlColor c = *src;
  dst->r = Clamp(c.r, one);
  dst->g = Clamp(c.g, one);
  dst->b = Clamp(c.b, one);
  dst->a = Clamp(c.a, one);
}

void __glClampScaledColorf(GlContext *gc, GlColor *dst, const GlColor *src) {
  const GlConstants &k = gc->constants;
  GlColor c = *src;
  dst->r = Clamp(c.r, k.redScale);
  dst->g = Clamp(c.g, k.greenScale);
  dst->b = Clamp(c.b, k.blueScale);
  dst->a = Clamp(c.a, k.alphaScale);
}

void __glClampRGBColor(GlContext *gc, GlColor *dst, const GlColor *src) {
  const GlConstants &k = gc->constants;
  GlColor c = *src;
  dst->r = ClampInclusive(c.r, k.redScale);
  dst->g = ClampInclusive(c.g, k.greenScale);
  dst->b = ClampInclusive(c.b, k.blueScale);
  dst->a = ClampInclusive(c.a, k.alphaScale);
}
