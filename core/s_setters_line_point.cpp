// Line width and stipple, point size. A width or size is kept as requested
// (queries return it) and in the two forms the rasterizers draw: a whole
// number of pixels for aliased primitives, a multiple of the granularity
// within the supported range for smooth ones.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "core/s_setters.h"

namespace {

// No drawable is wider: larger requests, infinity among them, draw as this
// and stay within the integer range.
constexpr GLfloat kAliasedLimit = 2048.0f;

int32_t AliasedSize(GLfloat requested) {
  if (requested < 1.0f) return 1;
  GLfloat size = requested > kAliasedLimit ? kAliasedLimit : requested;
  return int32_t(size + 0.5f);
}

GLfloat SmoothSize(GLfloat requested, GLfloat minimum, GLfloat maximum, GLfloat granularity) {
  if (requested <= minimum) return minimum;
  if (requested >= maximum) return maximum;
  int32_t steps = int32_t((requested - minimum) / granularity + 0.5f);
  return GLfloat(steps) * granularity + minimum;
}

// A width or size as requested and in its two drawn forms; false, with the
// error recorded and nothing stored, when it is not above 0 (NaN too).
bool StoreSize(GLfloat requested, GLfloat minimum, GLfloat maximum, GLfloat granularity,
               GLfloat *stored, int32_t *aliased, GLfloat *smooth) {
  if (!(requested > 0.0f)) {
    __glSetError(GL_INVALID_VALUE);
    return false;
  }
  *stored = requested;
  *aliased = AliasedSize(requested);
  *smooth = SmoothSize(requested, minimum, maximum, granularity);
  return true;
}

}  // namespace

void GLENTRY __glim_LineStipple(GLint factor, GLushort pattern) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  gc->state.line.stippleRepeat = uint16_t(factor < 1 ? 1 : factor > 256 ? 256 : factor);
  gc->state.line.stipple = pattern;
  __glDelayValidate(gc, __GL_DIRTY_LINE);
}

void GLENTRY __glim_LineWidth(GLfloat width) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  const GlConstants &k = gc->constants;
  GlLineState &line = gc->state.line;
  if (!StoreSize(width, k.lineWidthMinimum, k.lineWidthMaximum, k.lineWidthGranularity,
                 &line.requestedWidth, &line.aliasedWidth, &line.smoothWidth))
    return;
  __glDelayValidate(gc, __GL_DIRTY_LINE);
}

void GLENTRY __glim_PointSize(GLfloat size) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  const GlConstants &k = gc->constants;
  GlPointState &point = gc->state.point;
  if (!StoreSize(size, k.pointSizeMinimum, k.pointSizeMaximum, k.pointSizeGranularity,
                 &point.requestedSize, &point.aliasedSize, &point.smoothSize))
    return;
  __glDelayValidate(gc, __GL_DIRTY_POINT);
}
