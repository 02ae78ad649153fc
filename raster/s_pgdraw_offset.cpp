// Polygon offset of a triangle's first pixel, and the interval of the span
// in which the offset depth stays inside the depth buffer's range; the depth
// span procedures clamp outside it.
#include <math.h>

#include "core/context.h"
#include "core/gl_convert.h"
#include "raster/s_triangle.h"

namespace {

// Stands in for a zero depth gradient, so that the interval stays finite.
constexpr GLfloat kFlatDivisor = 0.00001f;

}  // namespace

int32_t __glPolygonOffsetZ(GlContext *gc, const GlVertex *v, GLfloat dx, GLfloat dy) {
  GlShader &sh = gc->polygon.shader;
  const uint32_t scale = gc->depthBuffer.scale;
  const GLfloat fscale = GLfloat(scale);
  const GLfloat slope = fmaxf(fabsf(sh.dzdxFloat), fabsf(sh.dzdyFloat));
  const GLfloat zo = v->window.z + sh.dzdxFloat * dx + sh.dzdyFloat * dy +
                     slope * gc->state.polygon.factor +
                     gc->state.polygon.units * gc->depthBuffer.offsetUnit;
  sh.offsetZ = zo;
  if (sh.dzdx >= 0) {
    sh.offsetClampLeft = 0;
    sh.offsetClampRight = scale;
  } else {
    sh.offsetClampLeft = scale;
    sh.offsetClampRight = 0;
  }
  if (sh.dzdxFloat > 0) {
    sh.offsetRangeEnd = (fscale - zo) / sh.dzdxFloat;
    sh.offsetRangeWidth = fscale / sh.dzdxFloat;
  } else if (sh.dzdxFloat < 0) {
    sh.offsetRangeEnd = -(zo / sh.dzdxFloat);
    sh.offsetRangeWidth = -(fscale / sh.dzdxFloat);
  } else {
    sh.offsetRangeEnd = (fscale - zo) / kFlatDivisor;
    sh.offsetRangeWidth = fscale / kFlatDivisor;
  }
  // Truncated, not clamped: depths of 16-bit buffers reach above 2^31, so the
  // word is the unsigned value's bits there.
  if (zo >= 2147483648.0f) return int32_t(__glTruncateToUint(zo));
  return __glTruncateToInt(zo);
}
