// Integer colours: the full signed 32-bit range maps onto [-1, 1] as
// (2i + 1) / uIntMax. 2i + 1 needs 33 bits, so the sum is formed in double
// and each result is rounded to single precision once.
#include "core/context.h"
#include "geometry/s_color.h"

namespace {

GLfloat Unit(const GlContext *gc, GLint i) {
  return GLfloat((2.0 * i + 1.0) * gc->constants.oneOverUIntMax);
}

GLfloat Scaled(const GlContext *gc, GLint i, GLfloat scale) {
  return GLfloat((2.0 * i + 1.0) * gc->constants.oneOverUIntMax * scale);
}

// Below 0 -> 0, above top -> top.
GLfloat Clamp(GLfloat c, GLfloat top) {
  if (!(c >= 0.0f)) return 0.0f;
  return c > top ? top : c;
}

}  // namespace

void __glScaleColori(GlContext *gc, GlColor *dst, const GLint src[4]) {
  const GlConstants &k = gc->constants;
  GLint r = src[0], g = src[1], b = src[2], a = src[3];
  dst->r = Scaled(gc, r, k.redScale);
  dst->g = Scaled(gc, g, k.greenScale);
  dst->b = Scaled(gc, b, k.blueScale);
  dst->a = Scaled(gc, a, k.alphaScale);
}

void __glClampAndScaleColori(GlContext *gc, GlColor *dst, const GLint src[4]) {
  const GlConstants &k = gc->constants;
  GLint r = src[0], g = src[1], b = src[2], a = src[3];
  dst->r = Clamp(Scaled(gc, r, k.redScale), k.redScale);
  dst->g = Clamp(Scaled(gc, g, k.greenScale), k.greenScale);
  dst->b = Clamp(Scaled(gc, b, k.blueScale), k.blueScale);
  dst->a = Clamp(Scaled(gc, a, k.alphaScale), k.alphaScale);
}

void __glClampColori(GlContext *gc, GlColor *dst, const GLint src[4]) {
  const GLfloat one = gc->constants.one;
  GLint r = src[0], g = src[1], b = src[2], a = src[3];
  dst->r = Clamp(Unit(gc, r), one);
  dst->g = Clamp(Unit(gc, g), one);
  dst->b = Clamp(Unit(gc, b), one);
  dst->a = Clamp(Unit(gc, a), one);
}
